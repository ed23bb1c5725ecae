#pragma once

#include <QString>

class QDate;
class QLocale;
class QTime;

namespace quorvane {

// The locale's time format with seconds and without a time-zone name: a post
// is read by people in other zones, and the zone name would only be ours.
QString stampTimeFormat(const QLocale &locale);
// The same made from one time format: zone fields go with the space before
// them, seconds follow the minutes. "" for a format without minutes.
QString timeFormatForStamp(const QString &timeFormat);

// Today's date in the locale's short date format, e.g. "12/6/26".
QString dateStamp(const QLocale &locale, const QDate &date);
// The time of day with seconds, e.g. "10:37:05 PM".
QString timeStamp(const QLocale &locale, const QTime &time);

} // namespace quorvane
