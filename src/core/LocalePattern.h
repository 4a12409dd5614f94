#pragma once
// Translation of a locale's Qt date and time patterns into the display tokens of
// DatePattern, and the separators those patterns use.
#include <QChar>
#include <QString>
#include <QStringView>

namespace LocalePattern
{

// Qt date pattern ("M/d/yy", "dd.MM.yyyy", "yy. M. d.") to display tokens. Day and month
// tokens keep their width; every year token becomes "yyyy" so that a shown date always
// parses back to the same year. Quoted and other letters become quoted literals.
QString fromQtDatePattern(QStringView qt);

// Qt time pattern ("h:mm:ss AP t") to display tokens: hours "h"/"hh" (12- or 24-hour is
// decided by the AM/PM token), minutes "nn", seconds "ss", "AP"/"A" to "AM/PM", "ap"/"a" to
// "am/pm"; the time-zone token and the blanks next to it are dropped.
QString fromQtTimePattern(QStringView qt);

// First separator character of a Qt date pattern: the first character outside quotes that is
// neither a letter nor a blank; a blank when the tokens are separated by blanks only; '/'
// when there is no separator at all.
QChar dateSeparatorOf(QStringView qt);

// Separator between the hour and the minute token of a Qt time pattern, found as for dates
// (blanks are skipped); a null QChar when there is none.
QChar timeSeparatorOf(QStringView qt);

} // namespace LocalePattern
