#pragma once

#include <QImage>

// The desktop's clipboard and its bell.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces whatever the clipboard held.
    virtual void setImage(const QImage& image) = 0;
    virtual void beep() = 0;
};

class QtClipboard final : public Clipboard {
public:
    void setImage(const QImage& image) override;
    void beep() override;
};
