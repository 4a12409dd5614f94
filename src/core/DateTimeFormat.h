#pragma once
// Display formats for dates and times, built from the four format settings, and the 48
// half-hour entries of every time combo box.
#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>

class DateTimeFormat
{
public:
    // Values of dateOrder entries.
    enum DatePart { None = 0, Year = 1, Month = 2, Day = 3 };

    // Option list texts, indexed by the setting's value.
    static constexpr std::array<QStringView, 7> DateFormatOptions{
        u"System default", u"M - D - YYYY",   u"D - M - YYYY",  u"YYYY - M - D",
        u"MM - DD - YYYY", u"DD - MM - YYYY", u"YYYY - MM - DD"};
    static constexpr std::array<QStringView, 5> DateSeparatorOptions{u"System default", u"-", u"/",
                                                                     u".", u":"};
    static constexpr std::array<QStringView, 3> TimeFormatOptions{u"System default",
                                                                  u"hh : mm  AM/PM", u"HH : mm"};
    static constexpr std::array<QStringView, 5> TimeSeparatorOptions{u"System default", u":", u"-",
                                                                     u"/", u"."};

    // Records the locale's patterns and separators (the "System default" entries) and builds
    // the formats for all four settings at 0.
    explicit DateTimeFormat(const QLocale &locale = QLocale::system());

    // dateFormat 0 to 6 and dateSeparator 0 to 4 as in the option lists; a value outside its
    // list counts as 0 (System default).
    void buildDateFormat(int dateFormat, int dateSeparator);
    // timeFormat 0 = the locale's clock, 1 = 12-hour, any other value = 24-hour; timeSeparator
    // 0 to 4 as in the option list, a value outside it counts as 0.
    void buildTimeFormat(int timeFormat, int timeSeparator);

    // The locale's short-date pattern in display tokens with month names reduced to "mm".
    const QString &systemDateFormat() const { return m_systemDateFormat; }
    // The locale's long-time pattern in display tokens.
    const QString &systemTimeFormat() const { return m_systemTimeFormat; }
    QChar systemDateSeparator() const { return m_systemDateSeparator; }
    QChar systemTimeSeparator() const { return m_systemTimeSeparator; }

    const QString &dateFormatString() const { return m_dateFormatString; }
    const QString &timeFormatString() const { return m_timeFormatString; }
    QChar dateSeparatorChar() const { return m_dateSeparatorChar; }
    QChar timeSeparatorChar() const { return m_timeSeparatorChar; }
    // What stands at positions 1, 2 and 3 of a date (DatePart values); always a permutation
    // of year, month and day once buildDateFormat has run.
    const std::array<int, 3> &dateOrder() const { return m_dateOrder; }
    // True when two-group dates are read month first.
    bool monthBeforeDay() const;
    // The 48 half-hour times as a comma list (entries with a blank in double quotes).
    const QString &timeItems() const { return m_timeItems; }
    // The same 48 entries, one per item.
    const QStringList &timeItemList() const { return m_timeItemList; }
    bool twelveHour() const { return m_twelveHour; }

private:
    QString m_systemDateFormat;
    QString m_systemTimeFormat;
    QChar m_systemDateSeparator;
    QChar m_systemTimeSeparator;
    QString m_dateFormatString;
    QString m_timeFormatString;
    QChar m_dateSeparatorChar;
    QChar m_timeSeparatorChar;
    std::array<int, 3> m_dateOrder{};
    QString m_timeItems;
    QStringList m_timeItemList;
    bool m_twelveHour = false;
};
