#pragma once

#include <cstdint>

// The clock window's outer position and size in twips, as the settings and the layout see it.
class WindowTwips {
public:
    virtual ~WindowTwips() = default;
    virtual int32_t Left() const = 0;
    virtual int32_t Top() const = 0;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual void setLeft(int32_t twips) = 0;
    virtual void setTop(int32_t twips) = 0;
};
