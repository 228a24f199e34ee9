#include "engine/LocaleTexts.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QLocale>

namespace {

// Pins a locale (and no fixed date-time form) for one test.
class LocaleTextsTest : public ::testing::Test {
protected:
    void SetUp() override { ::unsetenv("QUORBEL_DATETIME_FORMAT"); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    static void pin(QLocale::Language language, QLocale::Territory territory) {
        QLocale::setDefault(QLocale(language, territory));
    }
};

TEST_F(LocaleTextsTest, KilobytesWithTheLocalesSeparators) {
    struct Case {
        QLocale::Language language;
        QLocale::Territory territory;
        int64_t bytes;
        const char16_t* text;
    };
    for (const Case& c : {
             Case{QLocale::English, QLocale::UnitedStates, 1536, u"1.500 KB"},
             Case{QLocale::English, QLocale::UnitedStates, 0, u"0.000 KB"},
             Case{QLocale::English, QLocale::UnitedStates, 1, u"0.001 KB"},
             Case{QLocale::English, QLocale::UnitedStates, 1536000, u"1,500.000 KB"},
             // Eight significant digits: the third decimal is rounded away from 100000 KB on.
             Case{QLocale::English, QLocale::UnitedStates, 126419766, u"123,456.800 KB"},
             Case{QLocale::German, QLocale::Germany, 1536, u"1,500 KB"},
             Case{QLocale::German, QLocale::Germany, 1536000, u"1.500,000 KB"},
         }) {
        pin(c.language, c.territory);
        EXPECT_EQ(KilobyteText(c.bytes), c.text) << c.bytes;
    }
}

TEST_F(LocaleTextsTest, DateTimeInTheLocalesShortDateAndLongTime) {
    const double june5th2020at070809 = 43987.0 + (7 * 3600 + 8 * 60 + 9) / 86400.0;
    pin(QLocale::German, QLocale::Germany);
    EXPECT_EQ(U8(DateTimeText(june5th2020at070809)), "05.06.20 07:08:09");
    pin(QLocale::English, QLocale::UnitedStates);
    const std::string english = U8(DateTimeText(june5th2020at070809));
    EXPECT_EQ(english.substr(0, 7), "6/5/20 ");
    EXPECT_NE(english.find("7:08:09"), std::string::npos) << english; // no time zone after it
    EXPECT_EQ(english.find_first_of("0123456789", english.find("AM")), std::string::npos)
        << english;
    // The fixed form of the environment wins over every locale.
    ::setenv("QUORBEL_DATETIME_FORMAT", "dd.MM.yyyy HH:mm:ss", 1);
    EXPECT_EQ(U8(DateTimeText(june5th2020at070809)), "05.06.2020 07:08:09");
    ::unsetenv("QUORBEL_DATETIME_FORMAT");
}

} // namespace
