#pragma once

#include <QtGlobal>
#include <functional>

// One timer on the kernel's alarm clock, which wakes the computer from sleep when it runs out.
class WakeTimer {
public:
    virtual ~WakeTimer() = default;
    // Holds the timer set for that moment of the computer's clock, in seconds since the epoch,
    // in place of any set before. False when no timer can be made (no permission); nothing is
    // held then.
    virtual bool arm(qint64 epochSeconds) = 0;
    // Lets the timer go; nothing is held afterwards.
    virtual void drop() = 0;
    // Whether a timer would wake this computer: one can be made, and a hardware clock that can
    // wake the computer is there. Holds nothing afterwards.
    virtual bool possible() = 0;
    // Called when the computer's clock was set while a timer was held; the kernel has then
    // cancelled the timer, and it is held unarmed until armed again.
    virtual void setOnClockSet(std::function<void()> clockSet) = 0;
};
