#pragma once
// The one font every dialog and view starts from.
#include <QColor>
#include <QFont>
#include <QStringList>

class UiFont
{
public:
    // menuFont: the platform's menu font; installedFamilies: the installed font families.
    // font is the menu font at size 8 points without style; its face becomes "Tahoma",
    // else "Microsoft Sans Serif", when it is neither and that face is installed, else it is
    // kept.
    UiFont(const QFont &menuFont, const QStringList &installedFamilies);

    // The menu font and families as the running platform reports them (needs a
    // QGuiApplication).
    static UiFont fromPlatform(const QFont &menuFont);

    QFont font;
    QColor fontColor{Qt::black};
};
