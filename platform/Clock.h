#pragma once

#include <QDateTime>

// The present local date and time. Tests run the clock at any hour through a fake.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class QtClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
