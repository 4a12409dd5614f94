#pragma once
// Display patterns for dates and times. Tokens, matched without regard to case:
//   d dd        day without / with leading zero     ddd dddd  English short / full weekday
//   m mm        month without / with leading zero   mmm mmmm  English short / full month
//               (m or mm after an hour token, with only literals between, is the minute)
//   yy yyyy     two-digit / four-digit year (y = yy, three or more = yyyy)
//   h hh        hour without / with leading zero; 1 to 12 when the pattern holds an AM/PM
//               token, else 0 to 23
//   n nn        minute          s ss   second          z zzz   millisecond
//   AM/PM am/pm "AM"/"PM" (in the token's case)   a/p A/P "a"/"p"   ampm  "AM"/"PM"
//   "..." '...' literal text (an unterminated quote runs to the end)
//   /           the date separator given           :      the time separator given
// Any other character is copied as it is.
#include "core/DateTimeValue.h"

#include <QString>
#include <QStringView>

namespace DatePattern
{

QString format(QStringView pattern, SerialDateTime value, QChar dateSeparator, QChar timeSeparator);

// True when the pattern holds an AM/PM token outside quoted text.
bool hasAmPm(QStringView pattern);

// The pattern text for a separator character: quoted when it would otherwise stand for a
// separator or a token ("/", ":", letters) or open a quote; else the character itself.
QString separatorText(QChar separator);

} // namespace DatePattern
