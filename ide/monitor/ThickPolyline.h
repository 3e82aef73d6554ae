#pragma once

#include <QPolygon>
#include <QRgb>

class QImage;

// Draws a polyline into a 32-bit image with a square pen `width` pixels
// wide: each pixel on a segment's line path is widened to a square of that
// size, reaching width / 2 pixels left of and above the path (as the
// painter's pen of that width covers). Segments are clipped to the image
// first, so points far outside it cost nothing. Points are in the image's
// pixels.
//
// The scope's curves have thousands of segments a few pixels long; stroked
// by the painter they would cost milliseconds per repaint.
void DrawThickPolyline(QImage &image, const QPolygon &points, QRgb color, int width);
