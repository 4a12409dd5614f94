#pragma once
// A set of days of the week (the days a weekly rule occurs on), days numbered as
// CalendarMath::dayOfWeek numbers them: 1 = Sunday ... 7 = Saturday. Its text form is seven
// characters "0" or "1", Sunday first: "0100010" is Monday and Friday.
#include <QString>
#include <QStringView>

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <optional>

class WeekdaySet
{
public:
    constexpr WeekdaySet() = default;
    constexpr WeekdaySet(std::initializer_list<int> days)
    {
        for (int d : days)
            insert(d);
    }
    // Bit 0 is Sunday ... bit 6 Saturday; higher bits are dropped.
    static constexpr WeekdaySet fromBits(unsigned bits)
    {
        WeekdaySet s;
        s.m_bits = std::uint8_t(bits & AllBits);
        return s;
    }
    constexpr unsigned bits() const { return m_bits; }

    // nullopt unless the text is exactly seven characters "0" or "1".
    static std::optional<WeekdaySet> fromText(QStringView text)
    {
        if (text.size() != 7) return std::nullopt;
        WeekdaySet set;
        for (int i = 0; i < 7; ++i) {
            if (text[i] == u'1')
                set.insert(i + 1);
            else if (text[i] != u'0')
                return std::nullopt;
        }
        return set;
    }
    QString text() const
    {
        QString t(7, u'0');
        for (int i = 0; i < 7; ++i)
            if (contains(i + 1)) t[i] = u'1';
        return t;
    }

    // A day outside 1..7 is never contained and cannot be inserted.
    constexpr bool contains(int dayOfWeek) const
    {
        return dayOfWeek >= 1 && dayOfWeek <= 7 && ((m_bits >> (dayOfWeek - 1)) & 1u) != 0;
    }
    constexpr void insert(int dayOfWeek)
    {
        if (dayOfWeek >= 1 && dayOfWeek <= 7) m_bits |= std::uint8_t(1u << (dayOfWeek - 1));
    }
    constexpr void remove(int dayOfWeek)
    {
        if (dayOfWeek >= 1 && dayOfWeek <= 7) m_bits &= std::uint8_t(~(1u << (dayOfWeek - 1)));
    }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr int count() const { return std::popcount(m_bits); }

    friend constexpr bool operator==(WeekdaySet, WeekdaySet) = default;

private:
    static constexpr unsigned AllBits = 0x7f;
    std::uint8_t m_bits = 0;
};
