#pragma once

// The one place where layout units become pixels. Pixels are Qt's device-independent
// pixels (96 per inch); high-DPI scaling happens below that, so callers keep the default dpi.
//
// - Windows are laid out in twips: 1440 per inch, 15 per pixel.
// - Grid row heights are in points (1/72 inch, 4/3 px): a 9-pt Japanese Gothic line
//   (ascent + descent 12 px) fits a row of 10 units (13 px) without clipping.
// - Grid column widths are in character units of 8 px: a width of 5 (40 px) holds "32767"
//   with padding and nearly "第1数字" (three full-width glyphs of 12 px plus a digit).

namespace units {
inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kPointsPerInch = 72.0;
inline constexpr double kColUnitPixelsAt96 = 8.0;
inline constexpr double kBaseDpi = 96.0;

constexpr int roundToInt(double v)
{
    return v >= 0 ? int(v + 0.5) : -int(-v + 0.5);
}
} // namespace units

constexpr int twipsToPixels(double twips, double dpi = units::kBaseDpi)
{
    return units::roundToInt(twips * dpi / units::kTwipsPerInch);
}

constexpr int rowHeightToPixels(double heightUnits, double dpi = units::kBaseDpi)
{
    return units::roundToInt(heightUnits * dpi / units::kPointsPerInch);
}

constexpr int colWidthToPixels(double widthUnits, double dpi = units::kBaseDpi)
{
    return units::roundToInt(widthUnits * units::kColUnitPixelsAt96 * dpi / units::kBaseDpi);
}
