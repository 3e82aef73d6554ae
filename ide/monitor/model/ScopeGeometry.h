#pragma once

#include <QtGlobal>

// Where the scope draws, in control pixels, and where a sample lands.

// A rectangle given by its edges; right and bottom lie just outside it, so
// its width is right - left. Widths and heights may be zero or negative in a
// control too small for the picture.
struct TScopeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const
    {
        return right - left;
    }
    int Height() const
    {
        return bottom - top;
    }
    // The rectangle with every edge moved inwards by d pixels.
    TScopeRect Shrunk(int d) const
    {
        return {left + d, top + d, right - d, bottom - d};
    }
    // x lies strictly between the left and the right edge.
    bool StrictlyInsideX(int x) const
    {
        return x > left && x < right;
    }
    bool operator==(const TScopeRect &) const = default;
};

// The scale strip on the left, the plot, the time caption below it and the
// 110-pixel strip for the read-out boxes on the right.
struct TScopeLayout {
    TScopeRect scale;
    TScopeRect plot;
    int textHeight = 0;
};

TScopeLayout ScopeLayout(int width, int height, int textHeight);

// Points far outside the control are pulled in to this distance, so no
// coordinate overflows while the visible part of a line stays as it is.
constexpr int kFarCoordinate = 1 << 20;

// num / den rounded to the nearest integer, ties to the even one; den > 0.
qint64 RoundDivToEven(qint64 num, qint64 den);

// A sample's point in the curve area (the plot shrunk by 2 pixels):
// x = left + round(width * (time - windowStart) / windowSpan), formed in 64
// bits so that the longest time base does not overflow;
// y = bottom - round((value - min) * height / (max - min)), or the bottom
// edge when max is not above min. Rounding is to nearest, ties to even.
int SampleX(const TScopeRect &area, qint64 time, qint64 windowStart, qint64 windowSpan);
int SampleY(const TScopeRect &area, float value, float min, float max);

// The time under the measuring cursor at x: windowStart + windowSpan *
// (x - left) / width of the plot, rounded half away from zero. Only
// meaningful for an x strictly inside the plot.
qint64 CursorTime(const TScopeRect &plot, int x, qint64 windowStart, qint64 windowSpan);
