#include "core/UiFont.h"

#include <QFontDatabase>

UiFont::UiFont(const QFont &menuFont, const QStringList &installedFamilies) : font(menuFont)
{
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    font.setPointSize(8);

    const QString tahoma = QStringLiteral("Tahoma");
    const QString sansSerif = QStringLiteral("Microsoft Sans Serif");
    const QString face = font.family();
    if (face.compare(tahoma, Qt::CaseInsensitive) == 0 ||
        face.compare(sansSerif, Qt::CaseInsensitive) == 0)
        return;
    if (installedFamilies.contains(tahoma, Qt::CaseInsensitive))
        font.setFamily(tahoma);
    else if (installedFamilies.contains(sansSerif, Qt::CaseInsensitive))
        font.setFamily(sansSerif);
}

UiFont UiFont::fromPlatform(const QFont &menuFont)
{
    return UiFont(menuFont, QFontDatabase::families());
}
