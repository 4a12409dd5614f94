#include "core/UiFont.h"

#include <gtest/gtest.h>

TEST(UiFont, SizeEightNoStyleAndFacePreference)
{
    QFont menu(QStringLiteral("DejaVu Sans"), 11);
    menu.setBold(true);
    menu.setItalic(true);

    const UiFont keep(menu, {QStringLiteral("DejaVu Sans")});
    EXPECT_EQ(keep.font.family(), "DejaVu Sans");
    EXPECT_EQ(keep.font.pointSize(), 8);
    EXPECT_FALSE(keep.font.bold());
    EXPECT_FALSE(keep.font.italic());
    EXPECT_EQ(keep.fontColor, QColor(Qt::black));

    const UiFont tahoma(menu, {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("tahoma")});
    EXPECT_EQ(tahoma.font.family(), "Tahoma");
    const UiFont sans(menu, {QStringLiteral("Microsoft Sans Serif")});
    EXPECT_EQ(sans.font.family(), "Microsoft Sans Serif");
    // A menu font that already is one of the two faces is kept.
    const UiFont already(QFont(QStringLiteral("Microsoft Sans Serif")), {QStringLiteral("Tahoma")});
    EXPECT_EQ(already.font.family(), "Microsoft Sans Serif");
}
