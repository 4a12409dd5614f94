#include "core/DateTimeFormat.h"
#include "core/DateTextHelpers.h"

#include <gtest/gtest.h>

using namespace DateTimeValue;

namespace
{

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale Germany(QLocale::German, QLocale::Germany);

enum class Loc { US, DE };
QLocale localeOf(Loc l)
{
    return l == Loc::US ? UnitedStates : Germany;
}

constexpr int Y = DateTimeFormat::Year, M = DateTimeFormat::Month, D = DateTimeFormat::Day;

QString replaced(QString s, const QString &sep)
{
    return s.replace(u'S', sep);
}

// One row per (locale, DateFormat); every row runs with all five DateSeparator values.
struct DateRow {
    const char *name;
    Loc locale;
    int dateFormat;
    const char *pattern; // S stands for the separator text
    const char *shown;   // 8 July 2000; S stands for the separator character
    std::array<int, 3> order;
};

const DateRow DateRows[] = {
    {"US_SystemDefault", Loc::US, 0, "mSdSyyyy", "7S8S2000", {M, D, Y}},
    {"DE_SystemDefault", Loc::DE, 0, "ddSmmSyyyy", "08S07S2000", {D, M, Y}},
    {"US_M_D_YYYY", Loc::US, 1, "mSdSyyyy", "7S8S2000", {M, D, Y}},
    {"US_D_M_YYYY", Loc::US, 2, "dSmSyyyy", "8S7S2000", {D, M, Y}},
    {"US_YYYY_M_D", Loc::US, 3, "yyyySmSd", "2000S7S8", {Y, M, D}},
    {"US_MM_DD_YYYY", Loc::US, 4, "mmSddSyyyy", "07S08S2000", {M, D, Y}},
    {"US_DD_MM_YYYY", Loc::US, 5, "ddSmmSyyyy", "08S07S2000", {D, M, Y}},
    {"US_YYYY_MM_DD", Loc::US, 6, "yyyySmmSdd", "2000S07S08", {Y, M, D}},
    {"DE_M_D_YYYY", Loc::DE, 1, "mSdSyyyy", "7S8S2000", {M, D, Y}},
    {"DE_D_M_YYYY", Loc::DE, 2, "dSmSyyyy", "8S7S2000", {D, M, Y}},
    {"DE_YYYY_M_D", Loc::DE, 3, "yyyySmSd", "2000S7S8", {Y, M, D}},
    {"DE_MM_DD_YYYY", Loc::DE, 4, "mmSddSyyyy", "07S08S2000", {M, D, Y}},
    {"DE_DD_MM_YYYY", Loc::DE, 5, "ddSmmSyyyy", "08S07S2000", {D, M, Y}},
    {"DE_YYYY_MM_DD", Loc::DE, 6, "yyyySmmSdd", "2000S07S08", {Y, M, D}},
};

struct Separator {
    const char *name;
    int value;
    QChar us, de;                // the chosen character per locale (value 0 follows the locale)
    const char *usText, *deText; // its pattern text
};
const Separator Separators[] = {
    {"System", 0, u'/', u'.', "\"/\"", "."},    {"Dash", 1, u'-', u'-', "-", "-"},
    {"Slash", 2, u'/', u'/', "\"/\"", "\"/\""}, {"Dot", 3, u'.', u'.', ".", "."},
    {"Colon", 4, u':', u':', "\":\"", "\":\""},
};

class DateSettings : public ::testing::TestWithParam<std::tuple<DateRow, Separator>>
{
};

} // namespace

TEST_P(DateSettings, PatternOrderTextAndParseBack)
{
    const auto &[row, sep] = GetParam();
    DateTimeFormat f(localeOf(row.locale));
    f.buildDateFormat(row.dateFormat, sep.value);
    const bool us = row.locale == Loc::US;
    const QChar c = us ? sep.us : sep.de;

    EXPECT_EQ(f.dateSeparatorChar(), c);
    EXPECT_EQ(f.dateFormatString(), replaced(row.pattern, us ? sep.usText : sep.deText));
    EXPECT_EQ(f.dateOrder(), row.order);
    const SerialDateTime date = encodeDate(2000, 7, 8);
    EXPECT_EQ(dateText(f, date + encodeTime(23, 59)), replaced(row.shown, QString(c)));

    // Every shown date, in a year before and after day zero, reads back as itself.
    for (const SerialDateTime d : {date, encodeDate(1500, 1, 31), encodeDate(2099, 12, 1)}) {
        const auto parsed = parseDateText(f, weekdayDateText(f, d), encodeDate(2010, 1, 1));
        ASSERT_TRUE(parsed) << weekdayDateText(f, d).toStdString();
        EXPECT_EQ(*parsed, d) << weekdayDateText(f, d).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(AllDateSettings, DateSettings,
                         ::testing::Combine(::testing::ValuesIn(DateRows),
                                            ::testing::ValuesIn(Separators)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

namespace
{

struct TimeRow {
    const char *name;
    Loc locale;
    int timeFormat;
    bool twelve;
};
const TimeRow TimeRows[] = {
    {"US_SystemDefault", Loc::US, 0, true},
    {"DE_SystemDefault", Loc::DE, 0, false},
    {"US_12Hour", Loc::US, 1, true},
    {"DE_12Hour", Loc::DE, 1, true},
    {"US_24Hour", Loc::US, 2, false},
    {"DE_24Hour", Loc::DE, 2, false},
    {"US_OutOfRangeIs24Hour", Loc::US, 7, false},
};
const Separator TimeSeparators[] = {
    {"System", 0, u':', u':', "\":\"", "\":\""},
    {"Colon", 1, u':', u':', "\":\"", "\":\""},
    {"Dash", 2, u'-', u'-', "-", "-"},
    {"Slash", 3, u'/', u'/', "\"/\"", "\"/\""},
    {"Dot", 4, u'.', u'.', ".", "."},
};

class TimeSettings : public ::testing::TestWithParam<std::tuple<TimeRow, Separator>>
{
};

} // namespace

TEST_P(TimeSettings, PatternItemsAndEveryMinuteParsesBack)
{
    const auto &[row, sep] = GetParam();
    DateTimeFormat f(localeOf(row.locale));
    f.buildTimeFormat(row.timeFormat, sep.value);
    const QString t = QString(sep.us);

    EXPECT_EQ(f.twelveHour(), row.twelve);
    EXPECT_EQ(f.timeSeparatorChar(), sep.us);
    EXPECT_EQ(f.timeFormatString(),
              QString("hh") + sep.usText + "mm" + (row.twelve ? " AM/PM" : ""));

    const QStringList items = f.timeItemList();
    ASSERT_EQ(items.size(), 48);
    if (row.twelve) {
        EXPECT_EQ(items[0], "12" + t + "00 AM");
        EXPECT_EQ(items[1], "12" + t + "30 AM");
        EXPECT_EQ(items[2], "01" + t + "00 AM");
        EXPECT_EQ(items[23], "11" + t + "30 AM");
        EXPECT_EQ(items[24], "12" + t + "00 PM");
        EXPECT_EQ(items[26], "01" + t + "00 PM");
        EXPECT_EQ(items[47], "11" + t + "30 PM");
        EXPECT_TRUE(f.timeItems().startsWith("\"12" + t + "00 AM\",\"12" + t + "30 AM\","));
        EXPECT_EQ(timeText(f, encodeTime(0, 5)), "12" + t + "05 AM");
        EXPECT_EQ(timeText(f, encodeTime(13, 30)), "01" + t + "30 PM");
    } else {
        EXPECT_EQ(items[0], "00" + t + "00");
        EXPECT_EQ(items[1], "00" + t + "30");
        EXPECT_EQ(items[24], "12" + t + "00");
        EXPECT_EQ(items[47], "23" + t + "30");
        EXPECT_TRUE(f.timeItems().startsWith("00" + t + "00,00" + t + "30,01" + t + "00,"));
        EXPECT_EQ(timeText(f, encodeTime(0, 5)), "00" + t + "05");
        EXPECT_EQ(timeText(f, encodeTime(13, 30)), "13" + t + "30");
    }
    EXPECT_EQ(f.timeItems().count(u','), 47);

    for (int i = 0; i < 48; ++i) {
        const auto v = parseTimeText(f, items[i]);
        ASSERT_TRUE(v) << items[i].toStdString();
        EXPECT_EQ(minuteOfDay(*v), i * 30) << items[i].toStdString();
    }
    for (int m = 0; m < 1440; ++m) {
        const QString shown = timeText(f, encodeDate(2000, 7, 8) + encodeTime(m / 60, m % 60));
        const auto v = parseTimeText(f, shown);
        ASSERT_TRUE(v) << shown.toStdString();
        ASSERT_EQ(minuteOfDay(*v), m) << shown.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(AllTimeSettings, TimeSettings,
                         ::testing::Combine(::testing::ValuesIn(TimeRows),
                                            ::testing::ValuesIn(TimeSeparators)),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

namespace
{

// How "System default" reads other locales' patterns.
struct LocaleRow {
    const char *name;
    QLocale locale;
    const char *systemDate;
    QChar dateSeparator;
    std::array<int, 3> order;
    bool twelve;
    const char *shown; // 8 July 2000 with DateSeparator 0
};
const LocaleRow LocaleRows[] = {
    // Two-digit years are widened so a shown 1999 never reads back as 2099.
    {"UnitedStates", UnitedStates, "m/d/yyyy", u'/', {M, D, Y}, true, "7/8/2000"},
    {"Germany", Germany, "dd.mm.yyyy", u'.', {D, M, Y}, false, "08.07.2000"},
    {"UnitedKingdom",
     QLocale(QLocale::English, QLocale::UnitedKingdom),
     "dd/mm/yyyy",
     u'/',
     {D, M, Y},
     false,
     "08/07/2000"},
    // Month names shrink to numbers; blanks are the separator.
    {"C_MonthNameReduced", QLocale::c(), "d mm yyyy", u' ', {D, M, Y}, false, "8 07 2000"},
    // Pattern ends in "." (no first/last pair): order of the tokens.
    {"Korean_TrailingDot",
     QLocale(QLocale::Korean, QLocale::SouthKorea),
     "yyyy. m. d.",
     u'.',
     {Y, M, D},
     true,
     "2000. 7. 8."},
    {"Bulgarian_QuotedLetter",
     QLocale(QLocale::Bulgarian, QLocale::Bulgaria),
     "d.mm.yyyy \"\xD0\xB3\".",
     u'.',
     {D, M, Y},
     false,
     "8.07.2000 \xD0\xB3."},
    {"FrenchCanada_Iso",
     QLocale(QLocale::French, QLocale::Canada),
     "yyyy-mm-dd",
     u'-',
     {Y, M, D},
     false,
     "2000-07-08"},
};

class SystemDefault : public ::testing::TestWithParam<LocaleRow>
{
};

} // namespace

TEST_P(SystemDefault, LocalePatternSeparatorOrderAndClock)
{
    const LocaleRow &row = GetParam();
    DateTimeFormat f(row.locale);
    EXPECT_EQ(f.systemDateFormat(), QString::fromUtf8(row.systemDate));
    EXPECT_EQ(f.systemDateSeparator(), row.dateSeparator);
    f.buildDateFormat(0, 0);
    f.buildTimeFormat(0, 0);
    EXPECT_EQ(f.dateOrder(), row.order);
    EXPECT_EQ(f.twelveHour(), row.twelve);
    const SerialDateTime d = encodeDate(2000, 7, 8);
    EXPECT_EQ(dateText(f, d), QString::fromUtf8(row.shown));
    const auto back = parseDateText(f, dateText(f, d), encodeDate(1990, 1, 1));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, d);
}

INSTANTIATE_TEST_SUITE_P(Locales, SystemDefault, ::testing::ValuesIn(LocaleRows),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(DateTimeFormat, OptionTextsMatchTheSettingValues)
{
    EXPECT_EQ(DateTimeFormat::DateFormatOptions[0], u"System default");
    EXPECT_EQ(DateTimeFormat::DateFormatOptions[4], u"MM - DD - YYYY");
    EXPECT_EQ(DateTimeFormat::TimeFormatOptions[1], u"hh : mm  AM/PM");
    EXPECT_EQ(DateTimeFormat::DateSeparatorOptions[4], u":");
    EXPECT_EQ(DateTimeFormat::TimeSeparatorOptions[4], u".");
}
