#include "core/LayerPalette.h"

#include <array>

namespace LayerPalette
{

namespace
{
// Index 1..24 maps to entry index - 1; rows of eight run light to dark.
constexpr std::array<QRgb, ColorCount> Palette = {
    qRgb(255, 255, 255), qRgb(255, 255, 204), qRgb(255, 224, 193), qRgb(226, 196, 160),
    qRgb(255, 205, 205), qRgb(203, 220, 199), qRgb(190, 210, 233), qRgb(215, 198, 236),
    qRgb(224, 224, 224), qRgb(255, 255, 145), qRgb(255, 191, 128), qRgb(205, 154, 116),
    qRgb(255, 160, 160), qRgb(166, 194, 155), qRgb(111, 155, 204), qRgb(189, 162, 223),
    qRgb(192, 192, 192), qRgb(255, 255, 50),  qRgb(255, 164, 72),  qRgb(165, 104, 58),
    qRgb(255, 119, 119), qRgb(126, 167, 112), qRgb(58, 110, 165),  qRgb(155, 113, 206),
};
} // namespace

QColor layerColor(int colorIndex)
{
    if (colorIndex < 1 || colorIndex > ColorCount) return QColor(Qt::white);
    return QColor(Palette[colorIndex - 1]);
}

QColor colorFromBGR(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

uint32_t colorToBGR(const QColor &c)
{
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

} // namespace LayerPalette
