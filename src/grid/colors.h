#pragma once
// The colours of the analysis windows, in one place.

#include "grid/grid.h"

namespace colors {

inline constexpr GridColor kBlack = rgb(0, 0, 0);
inline constexpr GridColor kWhite = rgb(255, 255, 255);
inline constexpr GridColor kRed = rgb(255, 0, 0);
inline constexpr GridColor kBlue = rgb(0, 0, 255);

inline constexpr GridColor kHeadingBack = rgb(255, 200, 200); // pink heading rows
inline constexpr GridColor kDrawNoBack = rgb(255, 255, 200); // pale yellow 回数 column
inline constexpr GridColor kDrawNoFore = kRed;
inline constexpr GridColor kResultBack = rgb(200, 255, 255); // pale cyan computed column
inline constexpr GridColor kResultFore = kBlue;

inline constexpr GridColor kPaleYellow = rgb(255, 255, 200);
inline constexpr GridColor kPaleCyan = rgb(200, 255, 255);
inline constexpr GridColor kPaleGreen = rgb(200, 255, 200);
inline constexpr GridColor kPaleMagenta = rgb(255, 200, 255);
inline constexpr GridColor kPaleBlue = rgb(200, 200, 255);
inline constexpr GridColor kLabelCyan = rgb(222, 254, 253); // label column of the charts
inline constexpr GridColor kLineBlue = rgb(136, 196, 255); // grid lines of the charts
inline constexpr GridColor kMark = rgb(62, 158, 255); // the winning-digit mark
inline constexpr GridColor kSwatchCyan = rgb(128, 255, 255); // legend of the carry-over marks
inline constexpr GridColor kNoHitGrey = rgb(225, 225, 225); // a draw without neighbours

} // namespace colors

// The mark of a winning digit in the charts.
inline const QString kMarkText = QStringLiteral("●");
