#pragma once
// Layer colours and the stored colour numbers. Colour numbers in settings, tables and forms are
// 24-bit values in blue-green-red byte order (0x00BBGGRR); layers name one of 24 fixed palette
// colours by their colour index 1..24.
#include <QColor>
#include <cstdint>

namespace LayerPalette
{

constexpr int ColorCount = 24;

// The palette colour of a layer's colour index 1..24; white for any other index (a layer that
// is missing or holds a damaged index paints white).
QColor layerColor(int colorIndex);

// The colour of a stored 0x00BBGGRR number; the top byte is ignored.
QColor colorFromBGR(uint32_t bgr);
// The stored number of a colour (alpha is dropped).
uint32_t colorToBGR(const QColor &c);

} // namespace LayerPalette
