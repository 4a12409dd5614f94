#include "store/ExceptionList.h"

#include <algorithm>
#include <limits>

namespace
{

bool parseDay(QByteArrayView token, int &day)
{
    token = token.trimmed();
    if (token.isEmpty()) return false;
    bool negative = false;
    qsizetype i = 0;
    if (token[0] == '-' || token[0] == '+') {
        negative = token[0] == '-';
        i = 1;
    }
    if (i == token.size()) return false;
    long long value = 0;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max()) return false;
    }
    day = int(negative ? -value : value);
    return true;
}

} // namespace

std::vector<int> parseExceptionList(QByteArrayView text)
{
    std::vector<int> days;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype comma = text.indexOf(',', start);
        if (comma < 0) comma = text.size();
        int day = 0;
        if (parseDay(text.sliced(start, comma - start), day)) days.push_back(day);
        start = comma + 1;
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

QByteArray exceptionListText(const std::vector<int> &days)
{
    QByteArray text;
    std::vector<int> listed; // sorted
    for (int day : days) {
        const auto at = std::lower_bound(listed.begin(), listed.end(), day);
        if (at != listed.end() && *at == day) continue;
        listed.insert(at, day);
        if (!text.isEmpty()) text += ',';
        text += QByteArray::number(day);
    }
    return text;
}

QByteArray appendExceptionDay(const QByteArray &text, int day)
{
    const std::vector<int> days = parseExceptionList(text);
    if (std::binary_search(days.begin(), days.end(), day)) return text;
    QByteArray result = text;
    if (!result.isEmpty()) result += ',';
    result += QByteArray::number(day);
    return result;
}
