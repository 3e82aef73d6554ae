#include "VirtualDisplay.h"

#include <algorithm>
#include <cstdlib>

namespace velsim {

namespace {

int32_t Clamp(int32_t v, int32_t low, int32_t high)
{
    return std::min(std::max(v, low), high);
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

void CVirtualDisplay::Set(int32_t x, int32_t y, int color)
{
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
        m_pixels[static_cast<size_t>(y) * kWidth + x] = static_cast<uint8_t>(color);
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
    // A line from the cursor, stepped along its longer axis.
    const int32_t x0 = m_x;
    const int32_t y0 = m_y;
    const int32_t x1 = Clamp(x, -kWidth, 2 * kWidth);
    const int32_t y1 = Clamp(y, -kHeight, 2 * kHeight);
    const int32_t steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int32_t i = 0; i <= steps; ++i) {
        const int32_t px = steps ? x0 + (x1 - x0) * i / steps : x0;
        const int32_t py = steps ? y0 + (y1 - y0) * i / steps : y0;
        Set(px, py, m_pen);
    }
    Move(x1, y1);
    m_trace.Change("display DRAW to " + std::to_string(x) + ", " + std::to_string(y));
}

void CVirtualDisplay::FillRect(int32_t x, int32_t y, int32_t width, int32_t height, int color)
{
    x = Clamp(x, -2 * kWidth, 2 * kWidth);
    y = Clamp(y, -2 * kHeight, 2 * kHeight);
    const int32_t left = Clamp(x, 0, kWidth);
    const int32_t top = Clamp(y, 0, kHeight);
    const int32_t right = Clamp(x + Clamp(width, 0, kWidth), 0, kWidth);
    const int32_t bottom = Clamp(y + Clamp(height, 0, kHeight), 0, kHeight);
    for (int32_t py = top; py < bottom; ++py) {
        for (int32_t px = left; px < right; ++px)
            Set(px, py, color);
    }
}

void CVirtualDisplay::Frame(int32_t x, int32_t y, int32_t width, int32_t height, int32_t fill)
{
    x = Clamp(x, -kWidth, kWidth);
    y = Clamp(y, -kHeight, kHeight);
    width = Clamp(width, 0, kWidth);
    height = Clamp(height, 0, kHeight);
    if (fill != kNoFill)
        FillRect(x, y, width, height, fill ? 1 : 0);
    FillRect(x, y, width, 1, m_pen);
    FillRect(x, y + height - 1, width, 1, m_pen);
    FillRect(x, y, 1, height, m_pen);
    FillRect(x + width - 1, y, 1, height, m_pen);
    m_trace.Change("display FRAME " + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(width) +
                   ", " + std::to_string(height));
}

void CVirtualDisplay::Circle(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t fill)
{
    rx = Clamp(std::abs(rx), 1, kWidth);
    ry = Clamp(std::abs(ry), 1, kHeight);
    x = Clamp(x, -kWidth, 2 * kWidth);
    y = Clamp(y, -kHeight, 2 * kHeight);
    auto inside = [&](int32_t px, int32_t py) {
        const double dx = static_cast<double>(px - x) / rx;
        const double dy = static_cast<double>(py - y) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    for (int32_t py = y - ry; py <= y + ry; ++py) {
        for (int32_t px = x - rx; px <= x + rx; ++px) {
            if (!inside(px, py))
                continue;
            const bool edge = !inside(px - 1, py) || !inside(px + 1, py) || !inside(px, py - 1) || !inside(px, py + 1);
            if (edge)
                Set(px, py, m_pen);
            else if (fill != kNoFill)
                Set(px, py, fill ? 1 : 0);
        }
    }
    m_trace.Change("display CIRCLE " + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(rx) + ", " +
                   std::to_string(ry));
}

void CVirtualDisplay::Scroll(int32_t x, int32_t y, int32_t width, int32_t height, int32_t dx, int32_t dy)
{
    x = Clamp(x, -2 * kWidth, 2 * kWidth);
    y = Clamp(y, -2 * kHeight, 2 * kHeight);
    const int32_t left = Clamp(x, 0, kWidth);
    const int32_t top = Clamp(y, 0, kHeight);
    const int32_t right = Clamp(x + Clamp(width, 0, kWidth), 0, kWidth);
    const int32_t bottom = Clamp(y + Clamp(height, 0, kHeight), 0, kHeight);
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
    x = Clamp(x, -2 * kWidth, 2 * kWidth);
    y = Clamp(y, -2 * kHeight, 2 * kHeight);
    width = Clamp(width, 0, kWidth);
    height = Clamp(height, 0, kHeight);
    Frame(x, y, width, height, 0);
    if (vertical) {
        const int32_t filled = height * percent / 100;
        FillRect(x, y + height - filled, width, filled, m_pen);
    } else {
        FillRect(x, y, width * percent / 100, height, m_pen);
    }
    m_trace.Change("display BARGRAPH " + std::to_string(percent) + "%");
}

} // namespace velsim
