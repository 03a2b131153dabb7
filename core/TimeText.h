#pragma once

#include <QString>
#include <QTime>

// The bar's tool-tip: "h:m:s AM/PM" on the 12-hour clock without leading zeros (0:00:00 gives
// "12:0:0 AM").
QString toolTipText(const QTime& time);
