#include "IconMaker.h"

#include <QList>
#include <QPoint>
#include <QRect>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kBackgroundDistance = 60; // RGB difference still taken as background
constexpr int kMarkDistance = 24; // RGB difference still taken as the mark's colour

int Distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

bool ColumnHasMark(const QImage &logo, int x, QRgb background)
{
    for (int y = 0; y < logo.height(); ++y) {
        if (Distance(logo.pixel(x, y), background) > kBackgroundDistance)
            return true;
    }
    return false;
}

// The first run of columns holding something other than background, and the
// rows that hold it within those columns.
QRect MarkBounds(const QImage &logo, QRgb background)
{
    int left = 0;
    while (left < logo.width() && !ColumnHasMark(logo, left, background))
        ++left;
    int right = left;
    while (right + 1 < logo.width() && ColumnHasMark(logo, right + 1, background))
        ++right;
    if (left >= logo.width())
        return QRect();
    int top = logo.height();
    int bottom = -1;
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = left; x <= right; ++x) {
            if (Distance(logo.pixel(x, y), background) > kBackgroundDistance) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    const int side = std::max(right - left, bottom - top) + 1;
    return QRect(left + (right - left + 1 - side) / 2, top + (bottom - top + 1 - side) / 2, side, side);
}

// Makes what lies outside the mark transparent: every pixel reached from the
// corners without crossing the mark's own colour. The pixels of the mark's
// smoothed edge take the mark's colour with an alpha of how far they are from
// the background, so the rounded corners stay smooth on any panel. The
// letter inside the mark is enclosed by the mark's colour and stays.
void ClearOutside(QImage &image, QRgb background, QRgb markColour)
{
    const int full = std::max(1, Distance(markColour, background));
    QImage reached(image.size(), QImage::Format_Mono);
    reached.fill(0);
    QList<QPoint> todo = {
        {0, 0}, {image.width() - 1, 0}, {0, image.height() - 1}, {image.width() - 1, image.height() - 1}};
    while (!todo.isEmpty()) {
        const QPoint p = todo.takeLast();
        if (!image.rect().contains(p) || reached.pixelIndex(p) == 1)
            continue;
        if (Distance(image.pixel(p), markColour) <= kMarkDistance)
            continue; // the mark itself
        reached.setPixel(p, 1);
        const int alpha = std::clamp(255 * Distance(image.pixel(p), background) / full, 0, 255);
        image.setPixel(p, qRgba(qRed(markColour), qGreen(markColour), qBlue(markColour), alpha));
        todo << p + QPoint(1, 0) << p - QPoint(1, 0) << p + QPoint(0, 1) << p - QPoint(0, 1);
    }
}

} // namespace

QImage LogoMark(const QImage &logo)
{
    if (logo.isNull())
        return QImage();
    const QImage source = logo.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = source.pixel(0, 0);
    const QRect bounds = MarkBounds(source, background);
    if (bounds.isEmpty())
        return QImage();
    QImage mark = source.copy(bounds);
    const QRgb markColour = mark.pixel(mark.width() / 8, mark.height() / 2);
    ClearOutside(mark, background, markColour);
    return mark;
}

QImage IconOfSize(const QImage &mark, int size)
{
    return mark.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
