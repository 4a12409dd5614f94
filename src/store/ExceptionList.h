#pragma once
// Text form of a recurring event's exception days: day numbers in decimal separated by commas,
// without spaces ("45123,45130"). Null or empty text means no exception.
#include <QByteArray>
#include <QByteArrayView>

#include <vector>

// The days of the text, ascending and without repeats. A token that is not a whole number
// (empty, letters, out of the int range) is skipped; the rest still count.
std::vector<int> parseExceptionList(QByteArrayView text);

// The text of `days` in their order ("45123,45130"); a day already listed is left out. Empty
// for no day.
QByteArray exceptionListText(const std::vector<int> &days);

// The text with `day` added at its end ("45123" + 45130 gives "45123,45130"; empty text gives
// "45130"). A day already in the list leaves the text unchanged.
QByteArray appendExceptionDay(const QByteArray &text, int day);
