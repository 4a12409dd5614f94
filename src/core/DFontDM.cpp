#include "core/DFontDM.h"

#include <QFontDatabase>

TDFont::TDFont(const QFont &menuFont, const QStringList &installedFamilies) : SharedFont(menuFont)
{
    SharedFont.setBold(false);
    SharedFont.setItalic(false);
    SharedFont.setUnderline(false);
    SharedFont.setStrikeOut(false);
    SharedFont.setWeight(QFont::Normal);
    SharedFont.setStyle(QFont::StyleNormal);
    SharedFont.setPointSize(8);

    const QString tahoma = QStringLiteral("Tahoma");
    const QString sansSerif = QStringLiteral("Microsoft Sans Serif");
    const QString face = SharedFont.family();
    if (face.compare(tahoma, Qt::CaseInsensitive) == 0 ||
        face.compare(sansSerif, Qt::CaseInsensitive) == 0)
        return;
    if (installedFamilies.contains(tahoma, Qt::CaseInsensitive))
        SharedFont.setFamily(tahoma);
    else if (installedFamilies.contains(sansSerif, Qt::CaseInsensitive))
        SharedFont.setFamily(sansSerif);
}

TDFont TDFont::fromPlatform(const QFont &menuFont)
{
    return TDFont(menuFont, QFontDatabase::families());
}
