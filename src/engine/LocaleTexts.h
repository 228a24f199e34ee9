// Numbers and times written as the user's locale writes them: Qt's default locale, which
// is the system locale unless a test pins another with QLocale::setDefault.
#pragma once

#include <cstdint>

#include "text/WideTypes.h"

// The size label of the input list and the preview, "#,##0.000 KB": bytes / 1024 with the
// locale's group and decimal separators, three decimals and at most eight significant
// digits, then " KB". 1536 bytes read "1.500 KB" in English, "1,500 KB" in German.
WideString KilobyteText(int64_t bytes);
// The size label of a text in the preview: characters / 1000 in the same form, so 1500
// characters read "1.500 KB" in English and "1,500 KB" in German.
WideString CharacterKilobyteText(int64_t characters);

// A local date-time (days since 1899-12-30, as the file times come) in the locale's short
// date, a blank, and its long time without a time zone ("05.06.2020 07:08:09" in German,
// "6/5/20 7:08:09 AM" in English). The environment variable QUORBEL_DATETIME_FORMAT, when
// set, gives a fixed form instead, in Qt's date-time format ("dd.MM.yyyy HH:mm:ss"): tests
// use it to stay independent of the machine's locale.
WideString DateTimeText(double localDateTime);
