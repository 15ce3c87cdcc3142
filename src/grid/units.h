#pragma once

// Windows are laid out in twips: 1440 per inch, 15 per pixel. Pixels are Qt's
// device-independent pixels (96 per inch); high-DPI scaling happens below that, so callers keep
// the default dpi. How the grid's own units become pixels depends on its font (GridMetrics).

namespace units {
inline constexpr double kTwipsPerInch = 1440.0;
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
