#pragma once

#include <QColor>

namespace dvw {

// The relative luminance of a colour as the web's accessibility guidelines define it for
// sRGB: 0 for black to 1 for white.
double RelativeLuminance(const QColor &colour);
// Their contrast ratio of two colours: 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor &a, const QColor &b);
// Text reads well on a background from this ratio on (the guidelines' level for body text);
// below the lower one it is hard to read (their level for large text).
inline constexpr double LegibleContrast = 4.5;
inline constexpr double MinimumContrast = 3.0;

// The contrast text of colour `wanted` needs on `background` beside text of the colour
// `fallback` (the platform's own text colour there): as much as the fallback has, capped
// at LegibleContrast, and never below MinimumContrast.
double NeededContrast(const QColor &background, const QColor &fallback);
// The colour to draw text meant in `wanted` on `background`: `wanted` itself when it has
// the needed contrast there, else `fallback` when that has MinimumContrast, else black or
// white, whichever stands out more (one of them always reaches LegibleContrast).
QColor LegibleOn(const QColor &wanted, const QColor &background, const QColor &fallback);

} // namespace dvw
