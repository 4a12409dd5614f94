#pragma once
// The one text order of the program (table indexes, occurrence merge, span collections, task
// sort): case-insensitive first, ties broken case-sensitively, so "apple" < "Banana" <
// "banana". It does not depend on the locale, so the order is the same on every run.
#include <QString>

// <0, 0 or >0 as a is before, equal to or after b.
int compareText(const QString &a, const QString &b);

inline bool textLess(const QString &a, const QString &b)
{
    return compareText(a, b) < 0;
}
