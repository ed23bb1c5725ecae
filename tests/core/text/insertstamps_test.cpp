#include "text/insertstamps.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(TimeFormatForStamp, DropsTheZoneWithItsSpaceAndKeepsSeconds)
{
    struct Case
    {
        const char *format, *expected;
    };
    for (const Case &c : {
             Case{"h:mm:ss AP t", "h:mm:ss AP"},
             Case{"HH:mm:ss t", "HH:mm:ss"},
             Case{"t HH:mm:ss", "HH:mm:ss"},
             Case{"HH:mm:ss (t)", "HH:mm:ss"},
             Case{"HH:mm:ss tttt", "HH:mm:ss"},
             Case{"H:mm:ss\u202Ft", "H:mm:ss"},
             // Quoted letters are literal text, not fields.
             Case{"HH 'h' mm 'min' ss 's' t", "HH 'h' mm 'min' ss 's'"},
             Case{"'at' HH:mm:ss", "'at' HH:mm:ss"},
             Case{"HH 'o''clock' mm t", "HH 'o''clock' mm:ss"},
             // Without seconds, they follow the minutes with the hour separator.
             Case{"h:mm AP", "h:mm:ss AP"},
             Case{"H.mm", "H.mm.ss"},
             Case{"HH:mm t", "HH:mm:ss"},
             Case{"HH", ""},
         }) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(timeFormatForStamp(QString::fromUtf8(c.format)), QString::fromUtf8(c.expected));
    }
}

TEST(TimeStamp, HasSecondsAndNoZoneInEveryLocale)
{
    const QTime time(22, 37, 5);
    const QString zone = QLocale::c().toString(QTime(1, 2, 3), QStringLiteral("t"));
    for (const char *name :
         {"C", "en_US", "en_GB", "de_DE", "fr_FR", "fi_FI", "ja_JP", "zh_CN", "ko_KR", "ar_EG",
          "hi_IN", "ru_RU", "pt_BR", "he_IL", "sv_SE", "fa_IR", "bg_BG"}) {
        SCOPED_TRACE(name);
        const QLocale locale{QLatin1String(name)};
        const QString format = stampTimeFormat(locale);
        const QString stamp = timeStamp(locale, time);
        EXPECT_EQ(stamp, stamp.trimmed());
        if (!zone.isEmpty()) {
            EXPECT_FALSE(stamp.contains(zone)) << stamp.toStdString();
        }
        // It reads back as the same time of day, seconds included.
        EXPECT_EQ(locale.toTime(stamp, format), time)
            << format.toStdString() << " " << stamp.toStdString();
    }
    EXPECT_EQ(timeStamp(QLocale(QStringLiteral("en_US")), time), QStringLiteral("10:37:05 PM"));
    EXPECT_EQ(timeStamp(QLocale(QStringLiteral("de_DE")), time), QStringLiteral("22:37:05"));
}

TEST(DateStamp, IsTheShortDate)
{
    const QDate date(2026, 12, 6);
    EXPECT_EQ(dateStamp(QLocale(QStringLiteral("en_US")), date), QStringLiteral("12/6/26"));
    EXPECT_EQ(dateStamp(QLocale(QStringLiteral("de_DE")), date), QStringLiteral("06.12.26"));
    EXPECT_EQ(dateStamp(QLocale(QStringLiteral("en_GB")), date), QStringLiteral("06/12/2026"));
}

} // namespace
} // namespace quorvane
