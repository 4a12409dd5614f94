#pragma once
// The choices one print job is made with, and reading them from the stored print settings.
// Every index is range-checked here, so a renderer can index its tables with it.
#include <QString>
#include <array>

class Settings;

struct PrintOptions {
    // Printed width and height as a share of the page, by index 0..5; "100 %" prints 95 %.
    static constexpr std::array<double, 6> Shares{0.25, 0.33, 0.5, 0.67, 0.75, 0.95};
    static constexpr int MinFontSize = 4;
    static constexpr int MaxFontSize = 12;
    // Start and stop indexes: 0 = as on the screen; start k >= 1 prints from hour k - 1, stop
    // k >= 1 up to k:00.
    static constexpr int MaxHourIndex = 24;
    // Event box fill: white, light grey, or the layer's colour.
    enum ColorMode { NoColor = 0, Gray = 1, LayerColors = 2 };

    int widthIndex = 5;
    int heightIndex = 5;
    bool heading = true;
    int colorMode = LayerColors;
    int fontSize = 8; // points, MinFontSize..MaxFontSize
    int startIndex = 0;
    int stopIndex = 0;
    int copies = 1;

    double widthShare() const;
    double heightShare() const;
    // The same options with every value in its range; a value outside falls back to its
    // default (copies are clamped to 1..100 instead).
    PrintOptions checked() const;

    // The bottom bar's print: the stored settings (font size = PrintFontSize + 4), colour
    // mode LayerColors for the calendar views and PrintColor for the tasks view, one copy.
    // Values out of range take their defaults.
    static PrintOptions fromSettings(const Settings &settings, int viewKind);
    // Whether view kind 0..19 prints in landscape: its character (kind + 1) of `orientations`
    // is "0". A string shorter than 20 characters is padded from the default
    // "11000000000000000000"; a kind outside 0..19 counts as landscape.
    static bool landscapeFor(const QString &orientations, int viewKind);
};
