#pragma once

class QWidget;

// Where a window stands among the others.
class WindowOrder {
public:
    virtual ~WindowOrder() = default;
    // Above all others once, then a normal window again.
    virtual void BringToFront(QWidget& window) = 0;
    virtual void SetTopMost(QWidget& window) = 0;
    virtual void SetNotTopMost(QWidget& window) = 0;
};

class QtWindowOrder final : public WindowOrder {
public:
    void BringToFront(QWidget& window) override;
    void SetTopMost(QWidget& window) override;
    void SetNotTopMost(QWidget& window) override;
};
