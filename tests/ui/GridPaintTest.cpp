#include "views/GridPaint.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace GridPaint;

namespace
{
struct BandCase {
    ArrowSide side;
    QRect rest;     // what is left of the 40 x 20 area at (10, 10)
    QPoint bandPix; // a band pixel beside the triangle
    QPoint tip;     // just inside the triangle's tip
};
} // namespace

TEST(GridPaintTest, ArrowBandsSitOnTheirSideAndPointOutOfTheBox)
{
    const QRect area(10, 10, 40, 20);
    const BandCase cases[] = {
        {ArrowSide::Left, QRect(15, 10, 35, 20), QPoint(14, 25), QPoint(11, 17)},
        {ArrowSide::Right, QRect(10, 10, 35, 20), QPoint(45, 25), QPoint(47, 17)},
        {ArrowSide::Up, QRect(10, 15, 40, 15), QPoint(40, 14), QPoint(17, 11)},
        {ArrowSide::Down, QRect(10, 10, 40, 15), QPoint(40, 25), QPoint(17, 27)},
    };
    for (const BandCase &c : cases) {
        QImage img(60, 40, QImage::Format_RGB32);
        img.fill(Qt::green);
        QPainter p(&img);
        const QRect rest = drawArrowBand(p, area, c.side, 7);
        p.end();
        SCOPED_TRACE(int(c.side));
        EXPECT_EQ(rest, c.rest);
        EXPECT_EQ(QColor(img.pixel(c.bandPix)), lineColor());
        EXPECT_EQ(QColor(img.pixel(c.tip)), QColor(Qt::white));
        // Nothing is drawn in what is left for the text.
        EXPECT_EQ(QColor(img.pixel(rest.center())), QColor(Qt::green));
    }

    // An area no wider than the band stays as it is, unpainted.
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Qt::green);
    QPainter p(&img);
    const QRect narrow(10, 10, 5, 20);
    EXPECT_EQ(drawArrowBand(p, narrow, ArrowSide::Left, 7), narrow);
    EXPECT_EQ(drawArrowBand(p, QRect(10, 10, 40, 5), ArrowSide::Down, 7), QRect(10, 10, 40, 5));
    p.end();
    EXPECT_EQ(QColor(img.pixel(12, 12)), QColor(Qt::green));
}
