#include "ThickPolyline.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct TPixels {
    QRgb *bits;
    qsizetype stride; // in pixels
    int width;
    int height;
};

// Clips the segment a-b to the box (Liang-Barsky); false when nothing of it
// lies inside.
bool ClipSegment(double &ax, double &ay, double &bx, double &by, double left, double top, double right, double bottom)
{
    const double dx = bx - ax;
    const double dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - left, right - ax, ay - top, bottom - ay};
    double t0 = 0;
    double t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double x0 = ax + t0 * dx;
    const double y0 = ay + t0 * dy;
    bx = ax + t1 * dx;
    by = ay + t1 * dy;
    ax = x0;
    ay = y0;
    return true;
}

void Stamp(const TPixels &pixels, int x, int y, QRgb color, int width)
{
    const int left = std::max(x - width / 2, 0);
    const int right = std::min(x - width / 2 + width, pixels.width);
    const int top = std::max(y - width / 2, 0);
    const int bottom = std::min(y - width / 2 + width, pixels.height);
    for (int row = top; row < bottom; ++row) {
        QRgb *line = pixels.bits + row * pixels.stride;
        std::fill(line + left, line + std::max(left, right), color);
    }
}

// Bresenham's line from (x0, y0) to (x1, y1), both ends included.
void Segment(const TPixels &pixels, int x0, int y0, int x1, int y1, QRgb color, int width)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        Stamp(pixels, x0, y0, color, width);
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

} // namespace

void DrawThickPolyline(QImage &image, const QPolygon &points, QRgb color, int width)
{
    if (image.isNull() || image.depth() != 32 || width <= 0)
        return;
    const TPixels pixels{reinterpret_cast<QRgb *>(image.bits()), image.bytesPerLine() / 4, image.width(),
                         image.height()};
    const double margin = width;
    for (qsizetype i = 1; i < points.size(); ++i) {
        double ax = points[i - 1].x();
        double ay = points[i - 1].y();
        double bx = points[i].x();
        double by = points[i].y();
        if (!ClipSegment(ax, ay, bx, by, -margin, -margin, pixels.width + margin, pixels.height + margin))
            continue;
        Segment(pixels, int(std::lround(ax)), int(std::lround(ay)), int(std::lround(bx)), int(std::lround(by)), color,
                width);
    }
}
