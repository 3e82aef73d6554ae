#include "VirtualDisplay.h"

#include <algorithm>
#include <cstdlib>

namespace velsim {

namespace {

int32_t Clamp(int32_t v, int32_t low, int32_t high)
{
    return std::min(std::max(v, low), high);
}

struct StepRange {
    int64_t first;
    int64_t last; // first > last when no step lands on the display
};

// The steps 0..steps of a line whose coordinate along its longer axis is
// start + i (or start - i when delta < 0) that land within 0..size-1.
StepRange OnDisplay(int64_t start, int64_t delta, int64_t size, int64_t steps)
{
    const int64_t first = delta >= 0 ? -start : start - size + 1;
    const int64_t last = delta >= 0 ? size - 1 - start : start;
    return {std::max<int64_t>(first, 0), std::min(last, steps)};
}

} // namespace

CVirtualDisplay::CVirtualDisplay(CTrace &trace)
    : m_trace(trace)
{
    Reset();
}

void CVirtualDisplay::Reset()
{
    m_active = false;
    m_text.assign(kRows, std::string(kColumns, ' '));
    m_pixels.assign(static_cast<size_t>(kWidth) * kHeight, 0);
    m_x = m_y = 0;
    m_pen = 1;
    m_paper = 0;
}

void CVirtualDisplay::Clear()
{
    m_text.assign(kRows, std::string(kColumns, ' '));
    m_pixels.assign(static_cast<size_t>(kWidth) * kHeight, static_cast<uint8_t>(m_paper));
    m_x = m_y = 0;
    m_trace.Change("display cleared");
}

void CVirtualDisplay::Move(int32_t x, int32_t y)
{
    m_x = Clamp(x, 0, kWidth - 1);
    m_y = Clamp(y, 0, kHeight - 1);
}

void CVirtualDisplay::Font(int32_t size)
{
    m_trace.Change("display font " + std::to_string(size));
}

void CVirtualDisplay::Color(int32_t pen, int32_t paper)
{
    m_pen = pen ? 1 : 0;
    m_paper = paper ? 1 : 0;
}

void CVirtualDisplay::Write(std::string_view text)
{
    const std::vector<std::string> before = m_text;
    for (const char c : text) {
        if (c == '\r') {
            m_x = 0;
        } else if (c == '\n') {
            m_y = std::min(m_y + kCharHeight, kHeight - kCharHeight);
        } else {
            if (m_x + kCharWidth > kWidth) {
                m_x = 0;
                m_y = std::min(m_y + kCharHeight, kHeight - kCharHeight);
            }
            m_text[m_y / kCharHeight][m_x / kCharWidth] = c;
            m_x += kCharWidth;
        }
    }
    TraceRows(before);
}

void CVirtualDisplay::TraceRows(const std::vector<std::string> &before)
{
    for (int row = 0; row < kRows; ++row) {
        if (m_text[row] == before[row])
            continue;
        std::string shown = m_text[row];
        shown.erase(shown.find_last_not_of(' ') + 1);
        m_trace.Change("display row " + std::to_string(row) + ": \"" + shown + "\"");
    }
}

void CVirtualDisplay::Set(int64_t x, int64_t y, int color)
{
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
        m_pixels[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)] = static_cast<uint8_t>(color);
}

int CVirtualDisplay::Point(int32_t x, int32_t y) const
{
    if (x < 0 || x >= kWidth || y < 0 || y >= kHeight)
        return 0;
    return m_pixels[static_cast<size_t>(y) * kWidth + x];
}

void CVirtualDisplay::Plot(int32_t x, int32_t y)
{
    Set(x, y, m_pen);
    Move(x, y);
    m_trace.Change("display PLOT " + std::to_string(x) + ", " + std::to_string(y));
}

void CVirtualDisplay::Draw(int32_t x, int32_t y)
{
    // A line from the cursor, stepped along its longer axis. Along that axis
    // step i lies exactly i pixels from the cursor, so only the steps that
    // land on the display are walked, however far the end point lies.
    const int64_t x0 = m_x;
    const int64_t y0 = m_y;
    const int64_t dx = int64_t{x} - x0;
    const int64_t dy = int64_t{y} - y0;
    const int64_t steps = std::max(std::abs(dx), std::abs(dy));
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const StepRange range = OnDisplay(alongX ? x0 : y0, alongX ? dx : dy, alongX ? kWidth : kHeight, steps);
    for (int64_t i = range.first; i <= range.last; ++i) {
        const int64_t px = steps ? x0 + dx * i / steps : x0;
        const int64_t py = steps ? y0 + dy * i / steps : y0;
        Set(px, py, m_pen);
    }
    Move(x, y);
    m_trace.Change("display DRAW to " + std::to_string(x) + ", " + std::to_string(y));
}

void CVirtualDisplay::FillRect(int64_t x, int64_t y, int64_t width, int64_t height, int color)
{
    const int64_t left = std::clamp<int64_t>(x, 0, kWidth);
    const int64_t top = std::clamp<int64_t>(y, 0, kHeight);
    const int64_t right = std::clamp<int64_t>(x + std::max<int64_t>(width, 0), 0, kWidth);
    const int64_t bottom = std::clamp<int64_t>(y + std::max<int64_t>(height, 0), 0, kHeight);
    for (int64_t py = top; py < bottom; ++py) {
        for (int64_t px = left; px < right; ++px)
            Set(px, py, color);
    }
}

void CVirtualDisplay::Frame(int32_t x, int32_t y, int32_t width, int32_t height, int32_t fill)
{
    const int64_t w = std::max(width, 0);
    const int64_t h = std::max(height, 0);
    if (fill != kNoFill)
        FillRect(x, y, w, h, fill ? 1 : 0);
    FillRect(x, y, w, 1, m_pen);
    FillRect(x, y + h - 1, w, 1, m_pen);
    FillRect(x, y, 1, h, m_pen);
    FillRect(x + w - 1, y, 1, h, m_pen);
    m_trace.Change("display FRAME " + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(w) + ", " +
                   std::to_string(h));
}

void CVirtualDisplay::Circle(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t fill)
{
    // Radii in 64 bits: the magnitude of the most negative 32-bit radius fits.
    const int64_t radiusX = std::max<int64_t>(std::abs(int64_t{rx}), 1);
    const int64_t radiusY = std::max<int64_t>(std::abs(int64_t{ry}), 1);
    auto inside = [&](int64_t px, int64_t py) {
        const double ex = static_cast<double>(px - x) / static_cast<double>(radiusX);
        const double ey = static_cast<double>(py - y) / static_cast<double>(radiusY);
        return ex * ex + ey * ey <= 1.0;
    };
    // Only the part of the bounding box that lies on the display is walked.
    const int64_t top = std::max<int64_t>(y - radiusY, 0);
    const int64_t bottom = std::min<int64_t>(y + radiusY, kHeight - 1);
    const int64_t left = std::max<int64_t>(x - radiusX, 0);
    const int64_t right = std::min<int64_t>(x + radiusX, kWidth - 1);
    for (int64_t py = top; py <= bottom; ++py) {
        for (int64_t px = left; px <= right; ++px) {
            if (!inside(px, py))
                continue;
            const bool edge = !inside(px - 1, py) || !inside(px + 1, py) || !inside(px, py - 1) || !inside(px, py + 1);
            if (edge)
                Set(px, py, m_pen);
            else if (fill != kNoFill)
                Set(px, py, fill ? 1 : 0);
        }
    }
    m_trace.Change("display CIRCLE " + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(radiusX) +
                   ", " + std::to_string(radiusY));
}

void CVirtualDisplay::Scroll(int32_t x, int32_t y, int32_t width, int32_t height, int32_t dx, int32_t dy)
{
    const int32_t left = Clamp(x, 0, kWidth);
    const int32_t top = Clamp(y, 0, kHeight);
    const auto right = static_cast<int32_t>(std::clamp<int64_t>(int64_t{x} + std::max(width, 0), 0, kWidth));
    const auto bottom = static_cast<int32_t>(std::clamp<int64_t>(int64_t{y} + std::max(height, 0), 0, kHeight));
    dx = Clamp(dx, -kWidth, kWidth);
    dy = Clamp(dy, -kHeight, kHeight);
    const std::vector<uint8_t> before = m_pixels;
    for (int32_t py = top; py < bottom; ++py) {
        for (int32_t px = left; px < right; ++px) {
            const int32_t sx = px - dx;
            const int32_t sy = py - dy;
            const bool from = sx >= left && sx < right && sy >= top && sy < bottom;
            Set(px, py, from ? before[static_cast<size_t>(sy) * kWidth + sx] : m_paper);
        }
    }
    m_trace.Change("display SCROLL by " + std::to_string(dx) + ", " + std::to_string(dy));
}

void CVirtualDisplay::Bargraph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t percent, int32_t vertical)
{
    percent = Clamp(percent, 0, 100);
    const int64_t w = std::max(width, 0);
    const int64_t h = std::max(height, 0);
    Frame(x, y, width, height, 0);
    if (vertical) {
        const int64_t filled = h * percent / 100;
        FillRect(x, y + h - filled, w, filled, m_pen);
    } else {
        FillRect(x, y, w * percent / 100, h, m_pen);
    }
    m_trace.Change("display BARGRAPH " + std::to_string(percent) + "%");
}

} // namespace velsim
