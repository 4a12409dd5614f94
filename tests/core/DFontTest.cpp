#include "core/DFontDM.h"

#include <gtest/gtest.h>

TEST(TDFont, SizeEightNoStyleAndFacePreference)
{
    QFont menu(QStringLiteral("DejaVu Sans"), 11);
    menu.setBold(true);
    menu.setItalic(true);

    const TDFont keep(menu, {QStringLiteral("DejaVu Sans")});
    EXPECT_EQ(keep.SharedFont.family(), "DejaVu Sans");
    EXPECT_EQ(keep.SharedFont.pointSize(), 8);
    EXPECT_FALSE(keep.SharedFont.bold());
    EXPECT_FALSE(keep.SharedFont.italic());
    EXPECT_EQ(keep.SharedFontColor, QColor(Qt::black));

    const TDFont tahoma(menu, {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("tahoma")});
    EXPECT_EQ(tahoma.SharedFont.family(), "Tahoma");
    const TDFont sans(menu, {QStringLiteral("Microsoft Sans Serif")});
    EXPECT_EQ(sans.SharedFont.family(), "Microsoft Sans Serif");
    // A menu font that already is one of the two faces is kept.
    const TDFont already(QFont(QStringLiteral("Microsoft Sans Serif")), {QStringLiteral("Tahoma")});
    EXPECT_EQ(already.SharedFont.family(), "Microsoft Sans Serif");
}
