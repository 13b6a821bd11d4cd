#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace dvw {

namespace {

// One sRGB channel, 0..1, made linear.
double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

} // namespace

double RelativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double NeededContrast(const QColor &background, const QColor &fallback)
{
    return std::clamp(ContrastRatio(fallback, background), MinimumContrast, LegibleContrast);
}

QColor LegibleOn(const QColor &wanted, const QColor &background, const QColor &fallback)
{
    if (ContrastRatio(wanted, background) >= NeededContrast(background, fallback))
        return wanted;
    if (ContrastRatio(fallback, background) >= MinimumContrast)
        return fallback;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}

} // namespace dvw
