#include "core/LayerPalette.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace LayerPalette;

struct PaletteCase {
    const char *name;
    int index;
    QColor expected;
};

void PrintTo(const PaletteCase &c, std::ostream *os)
{
    *os << c.name;
}

class LayerColorTest : public ::testing::TestWithParam<PaletteCase>
{
};

TEST_P(LayerColorTest, MapsIndexToColour)
{
    EXPECT_EQ(layerColor(GetParam().index), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Palette, LayerColorTest,
    ::testing::Values(PaletteCase{"first", 1, QColor(255, 255, 255)},
                      PaletteCase{"endOfFirstRow", 8, QColor(215, 198, 236)},
                      PaletteCase{"startOfSecondRow", 9, QColor(224, 224, 224)},
                      PaletteCase{"startOfThirdRow", 17, QColor(192, 192, 192)},
                      PaletteCase{"last", 24, QColor(155, 113, 206)},
                      PaletteCase{"zeroIsWhite", 0, QColor(Qt::white)},
                      PaletteCase{"pastLastIsWhite", 25, QColor(Qt::white)},
                      PaletteCase{"negativeIsWhite", -3, QColor(Qt::white)}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ColorNumber, ReadsBlueGreenRedByteOrder)
{
    // 10841658 = 0x00A56E3A: red 0x3A, green 0x6E, blue 0xA5.
    EXPECT_EQ(colorFromBGR(10841658), QColor(58, 110, 165));
    EXPECT_EQ(colorFromBGR(10841658), layerColor(23));
    EXPECT_EQ(colorFromBGR(0xFF0000FFu), QColor(255, 0, 0)) << "top byte is ignored";
    EXPECT_EQ(colorToBGR(QColor(34, 64, 96)), 6307874u);
    EXPECT_EQ(colorToBGR(colorFromBGR(3947580)), 3947580u);
}
