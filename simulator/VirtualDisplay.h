// The module's display as machine state: a text screen that keeps what was
// printed on it and a one-bit pixel plane for the graphics statements and
// POINT. It becomes active with SETDISPLAY; from then on PRINT to the serial
// line writes on it too.
#pragma once

#include "Trace.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velsim {

class CVirtualDisplay {
public:
    static constexpr int kWidth = 240; // pixels
    static constexpr int kHeight = 128;
    static constexpr int kCharWidth = 6;
    static constexpr int kCharHeight = 8;
    static constexpr int kColumns = kWidth / kCharWidth;
    static constexpr int kRows = kHeight / kCharHeight;

    explicit CVirtualDisplay(CTrace &trace);

    void Reset(); // a program starts: inactive and blank
    void Activate()
    {
        m_active = true;
    }
    bool Active() const
    {
        return m_active;
    }

    void Clear();
    void Move(int32_t x, int32_t y);
    void Font(int32_t size);
    void Color(int32_t pen, int32_t paper);
    // Text at the cursor: CR returns to the left edge, LF moves down a row.
    void Write(std::string_view text);

    void Plot(int32_t x, int32_t y);
    void Draw(int32_t x, int32_t y);
    void Frame(int32_t x, int32_t y, int32_t width, int32_t height, int32_t fill);
    void Circle(int32_t x, int32_t y, int32_t rx, int32_t ry, int32_t fill);
    void Scroll(int32_t x, int32_t y, int32_t width, int32_t height, int32_t dx, int32_t dy);
    void Bargraph(int32_t x, int32_t y, int32_t width, int32_t height, int32_t percent, int32_t vertical);
    int Point(int32_t x, int32_t y) const;

    std::string Row(int row) const
    {
        return m_text[row];
    }

    static constexpr int32_t kNoFill = -1;

private:
    void Set(int64_t x, int64_t y, int color);
    void FillRect(int64_t x, int64_t y, int64_t width, int64_t height, int color);
    void TraceRows(const std::vector<std::string> &before);

    CTrace &m_trace;
    bool m_active = false;
    std::vector<std::string> m_text;
    std::vector<uint8_t> m_pixels;
    int32_t m_x = 0; // cursor, in pixels
    int32_t m_y = 0;
    int m_pen = 1;
    int m_paper = 0;
};

} // namespace velsim
