#include "ScopeGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kScaleWidth = 110; // scale strip left of the plot
constexpr int kReadoutWidth = 110; // read-out strip right of the plot
constexpr int kMargin = 5;
// Time differences beyond this (about 8 years) land far outside the plot
// anyway; bounding them keeps width * difference inside 64 bits.
constexpr qint64 kFarTime = qint64(1) << 38;

int Far(qint64 v)
{
    return static_cast<int>(std::clamp<qint64>(v, -kFarCoordinate, kFarCoordinate));
}

} // namespace

TScopeLayout ScopeLayout(int width, int height, int textHeight)
{
    TScopeLayout layout;
    const int bottom = height - textHeight - kMargin;
    layout.scale = {0, kMargin, kScaleWidth - 1, bottom};
    layout.plot = {kScaleWidth, kMargin, width - kReadoutWidth, bottom};
    layout.textHeight = textHeight;
    return layout;
}

qint64 RoundDivToEven(qint64 num, qint64 den)
{
    qint64 q = num / den;
    qint64 r = num % den;
    if (r < 0) { // floor division, remainder in [0, den)
        r += den;
        --q;
    }
    const qint64 twice = 2 * r;
    if (twice > den || (twice == den && (q & 1) != 0))
        ++q;
    return q;
}

int SampleX(const TScopeRect &area, qint64 time, qint64 windowStart, qint64 windowSpan)
{
    const qint64 delta = std::clamp(time - windowStart, -kFarTime, kFarTime);
    const qint64 offset = RoundDivToEven(qint64(area.Width()) * delta, std::max<qint64>(windowSpan, 1));
    return Far(area.left + std::clamp<qint64>(offset, -kFarCoordinate, kFarCoordinate));
}

int SampleY(const TScopeRect &area, float value, float min, float max)
{
    if (!(max > min))
        return area.bottom;
    // double holds the difference of two floats and its product with the
    // height without overflow; nearbyint rounds ties to even.
    const double scaled = (double(value) - double(min)) * area.Height() / (double(max) - double(min));
    const double rounded = std::nearbyint(std::clamp(scaled, -double(kFarCoordinate), double(kFarCoordinate)));
    return Far(area.bottom - static_cast<qint64>(rounded));
}

qint64 CursorTime(const TScopeRect &plot, int x, qint64 windowStart, qint64 windowSpan)
{
    const qint64 width = plot.Width();
    if (width <= 0)
        return windowStart;
    const qint64 num = windowSpan * (x - plot.left);
    const qint64 half = width / 2;
    const qint64 offset = num >= 0 ? (num + half) / width : -((-num + half) / width);
    return windowStart + offset;
}
