#include "engine/LocaleTexts.h"

#include <cmath>
#include <cstdlib>

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace {

WideString fromQString(const QString& text) {
    return WideString(reinterpret_cast<const char16_t*>(text.utf16()),
                      static_cast<size_t>(text.size()));
}

// Rounded to eight significant digits, as the size labels show them.
double eightDigits(double value) {
    if (value == 0) return 0;
    const int digits = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    const double scale = std::pow(10.0, 8 - digits);
    return std::round(value * scale) / scale;
}

// A time format without its time-zone letters ("t"), outside quoted text.
QString withoutTimeZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        out += c;
    }
    return out.trimmed();
}

} // namespace

namespace {

WideString ThousandsText(double kilobytes) {
    const QLocale locale;
    return fromQString(locale.toString(eightDigits(kilobytes), 'f', 3)) + u" KB";
}

} // namespace

WideString KilobyteText(int64_t bytes) {
    return ThousandsText(static_cast<double>(bytes) / 1024.0);
}

WideString CharacterKilobyteText(int64_t characters) {
    return ThousandsText(static_cast<double>(characters) / 1000.0);
}

WideString DateTimeText(double localDateTime) {
    int64_t seconds = static_cast<int64_t>(std::floor(localDateTime * 86400.0 + 0.5));
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const QDate date = QDate(1899, 12, 30).addDays(days);
    const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(rest * 1000));
    if (const char* fixed = std::getenv("QUORBEL_DATETIME_FORMAT"); fixed && *fixed)
        return fromQString(QDateTime(date, time).toString(QString::fromUtf8(fixed)));
    const QLocale locale;
    return fromQString(
        locale.toString(date, QLocale::ShortFormat) + u' ' +
        locale.toString(time, withoutTimeZone(locale.timeFormat(QLocale::LongFormat))));
}
