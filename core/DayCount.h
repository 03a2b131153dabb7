#pragma once

#include <QDateTime>

// The calendar-day boundaries (midnights) crossed from one moment to another: the later date
// minus the earlier one in whole days, whatever the times of day. 23:59 to 0:01 the next day
// is 1, 0:01 to 23:59 of one day is 0; negative when `to` lies on an earlier date.
inline qint64 dayCount(const QDateTime& from, const QDateTime& to) {
    return from.date().daysTo(to.date());
}
