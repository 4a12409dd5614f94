#include "core/TextCompare.h"

int compareText(const QString &a, const QString &b)
{
    const int ci = QString::compare(a, b, Qt::CaseInsensitive);
    if (ci != 0) return ci;
    return QString::compare(a, b, Qt::CaseSensitive);
}
