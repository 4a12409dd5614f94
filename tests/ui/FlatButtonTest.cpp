#include "views/FlatButton.h"

#include "core/LayerPalette.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

namespace
{

using LayerPalette::colorFromBGR;

class ButtonFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        button.resize(40, 18);
        button.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    }

    void hover(bool inside)
    {
        if (inside) {
            QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QApplication::sendEvent(&button, &e);
        } else {
            QEvent e(QEvent::Leave);
            QApplication::sendEvent(&button, &e);
        }
    }

    QColor paintedFill() { return button.grab().toImage().pixelColor(1, 1); }

    FlatButton button;
};

struct StyleCase {
    const char *name;
    int style;
    bool hot;
    QColor expected; // invalid: the palette's button face
};

void PrintTo(const StyleCase &c, std::ostream *os)
{
    *os << c.name;
}

class ButtonColourTest : public ButtonFixture, public ::testing::WithParamInterface<StyleCase>
{
};

TEST_P(ButtonColourTest, FillsWithStyleColour)
{
    const StyleCase &c = GetParam();
    button.setButtonStyle(c.style);
    hover(c.hot);
    EXPECT_EQ(button.isHot(), c.hot);
    const QColor expected =
        c.expected.isValid() ? c.expected : button.palette().color(QPalette::Button);
    EXPECT_EQ(button.fillColor(), expected);
    EXPECT_EQ(paintedFill(), expected);
}

INSTANTIATE_TEST_SUITE_P(Styles, ButtonColourTest,
                         ::testing::Values(StyleCase{"style0", 0, false, colorFromBGR(10841658)},
                                           StyleCase{"style0Hot", 0, true, colorFromBGR(13409135)},
                                           StyleCase{"style1", 1, false, colorFromBGR(3947580)},
                                           StyleCase{"style1Hot", 1, true, colorFromBGR(8421504)},
                                           StyleCase{"style2", 2, false, colorFromBGR(3947580)},
                                           StyleCase{"style2HotIsButtonFace", 2, true, QColor()}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ButtonFixture, LeavingClearsHot)
{
    hover(true);
    hover(false);
    EXPECT_FALSE(button.isHot());
    EXPECT_EQ(paintedFill(), colorFromBGR(10841658));
}

TEST_F(ButtonFixture, ClickFiresOnlyForALeftReleaseInside)
{
    QSignalSpy clicked(&button, &FlatButton::clicked);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(button.isPressed());
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(39, 17));
    EXPECT_FALSE(button.isPressed());
    EXPECT_EQ(clicked.count(), 1) << "last pixel is still inside";

    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(40, 5));
    EXPECT_FALSE(button.isPressed());
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 18));
    QTest::mouseClick(&button, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 1) << "released outside, or not the left button";

    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(button.isPressed());
    EXPECT_EQ(clicked.count(), 1) << "disabled";
}

TEST_F(ButtonFixture, BitmapIsCentredWithItsKeyColourTransparent)
{
    button.resize(17, 19);
    button.setBitmapName(QStringLiteral("ARROW_LEFT")); // 7 x 9, white arrow, key colour around
    const QImage img = button.grab().toImage();
    const QColor fill = button.fillColor();
    // The bitmap sits at (5, 5); its widest row (x 1..4, y 4) is white.
    EXPECT_EQ(img.pixelColor(5, 5), fill) << "key colour shows the fill";
    EXPECT_EQ(img.pixelColor(5 + 1, 5 + 4), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(5 + 4, 5 + 4), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(5 + 5, 5 + 4), fill);
    EXPECT_EQ(img.pixelColor(0, 0), fill);

    for (const char *name : {"ARROW_RIGHT", "ARROW_UP", "ARROW_DOWN", "PRINT", "PRINT_MS"})
        EXPECT_FALSE(FlatButton::loadBitmap(QString::fromLatin1(name)).isNull()) << name;
    button.setBitmapName(QStringLiteral("NO_SUCH_BITMAP"));
    EXPECT_EQ(button.grab().toImage().pixelColor(8, 9), fill) << "unknown name: fill only";
}

// Pixels of `img` exactly `color`.
int countPixels(const QImage &img, const QColor &color)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixelColor(x, y) == color;
    return n;
}

TEST_F(ButtonFixture, DisabledButtonShowsItsCaptionAndBitmapFadedAndNeverLightsUp)
{
    for (int style : {0, 1}) {
        button.setButtonStyle(style);
        button.setCaption(QStringLiteral("New"));
        button.setEnabled(true);
        const QImage enabled = button.grab().toImage();
        EXPECT_GT(countPixels(enabled, Qt::white), 5) << style;

        button.setEnabled(false);
        hover(true);
        const QColor fill = button.fillColor();
        EXPECT_EQ(fill, colorFromBGR(style == 0 ? 10841658 : 3947580)) << "not lit while disabled";
        const QImage disabled = button.grab().toImage();
        EXPECT_EQ(countPixels(disabled, Qt::white), 0) << style;
        const QColor caption = button.captionColor();
        EXPECT_GT(caption.lightness(), fill.lightness() + 40) << "still readable";
        EXPECT_LT(caption.lightness(), 200);
        EXPECT_GT(countPixels(disabled, caption), 5) << "the caption is drawn in the faded colour";
        hover(false);
    }

    button.setEnabled(true);
    button.resize(17, 19);
    button.setBitmapName(QStringLiteral("ARROW_LEFT"));
    EXPECT_EQ(button.grab().toImage().pixelColor(6, 9), QColor(Qt::white));
    button.setEnabled(false);
    const QColor faded = button.grab().toImage().pixelColor(6, 9);
    EXPECT_NE(faded, QColor(Qt::white));
    EXPECT_GT(faded.lightness(), button.fillColor().lightness()) << "the arrow still shows";
}

TEST_F(ButtonFixture, OutOfRangeStyleIsTakenAsStyle2)
{
    button.setButtonStyle(7);
    EXPECT_EQ(button.buttonStyle(), 2);
    button.setButtonStyle(-1);
    EXPECT_EQ(button.buttonStyle(), 2);
}

} // namespace
