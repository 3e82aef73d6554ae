// Where the scope draws: the layout rectangles, a sample's point (64-bit
// products, ties to even, Min = Max, far points) and the cursor time.
#include "ScopeGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr float kFloatMax = std::numeric_limits<float>::max();

TEST(ScopeLayout, ScaleStripPlotAndCaptionStrip)
{
    const TScopeLayout normal = ScopeLayout(633, 230, 16);
    EXPECT_EQ(normal.scale, (TScopeRect{0, 5, 109, 209}));
    EXPECT_EQ(normal.plot, (TScopeRect{110, 5, 523, 209}));
    // A window one pixel wide: the plot is empty, nothing is divided by it.
    const TScopeLayout narrow = ScopeLayout(1, 41, 16);
    EXPECT_EQ(narrow.plot, (TScopeRect{110, 5, -109, 20}));
    EXPECT_FALSE(narrow.plot.StrictlyInsideX(0));
}

struct DivCase {
    qint64 num;
    qint64 den;
    qint64 quotient;
};

std::string DivName(const DivCase &c)
{
    return (c.num < 0 ? "minus" + std::to_string(-c.num) : std::to_string(c.num)) + "over" + std::to_string(c.den);
}

void PrintTo(const DivCase &c, std::ostream *os)
{
    *os << DivName(c);
}

class RoundDiv : public testing::TestWithParam<DivCase> { };

TEST_P(RoundDiv, RoundsToNearestTiesToEven)
{
    EXPECT_EQ(RoundDivToEven(GetParam().num, GetParam().den), GetParam().quotient);
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundDiv,
                         testing::Values(DivCase{0, 5, 0}, DivCase{1, 2, 0}, DivCase{3, 2, 2}, DivCase{5, 2, 2},
                                         DivCase{7, 3, 2}, DivCase{8, 3, 3}, DivCase{-1, 2, 0}, DivCase{-3, 2, -2},
                                         DivCase{-5, 3, -2}, DivCase{qint64(1) << 62, 3, 1537228672809129301LL}),
                         [](const auto &info) { return DivName(info.param); });

struct XCase {
    const char *name;
    int width; // of the curve area, which starts at x = 112
    qint64 span;
    qint64 delta; // time - window start
    int x;
};

void PrintTo(const XCase &c, std::ostream *os)
{
    *os << c.name;
}

class SampleXCase : public testing::TestWithParam<XCase> { };

TEST_P(SampleXCase, Position)
{
    const XCase &c = GetParam();
    const TScopeRect area{112, 7, 112 + c.width, 107};
    EXPECT_EQ(SampleX(area, 5000 + c.delta, 5000, c.span), c.x);
}

INSTANTIATE_TEST_SUITE_P(Cases, SampleXCase,
                         testing::Values(XCase{"leftEdge", 300, 20000, 0, 112}, XCase{"middle", 300, 20000, 10000, 262},
                                         XCase{"rightEdge", 300, 20000, 20000, 412},
                                         XCase{"tieUp", 300, 200, 1, 114}, // 1.5 -> 2
                                         XCase{"tieToEven", 300, 200, 3, 116}, // 4.5 -> 4
                                         // 3000 * 71,999,999 does not fit 32 bits.
                                         XCase{"longestTimeBase", 3000, 72000000, 71999999, 3112},
                                         XCase{"longestHalf", 3000, 72000000, 36000000, 1612},
                                         XCase{"beforeWindow", 300, 20000, -20000, -188},
                                         XCase{"yearsAhead", 300, 20, qint64(1) << 50, kFarCoordinate}),
                         [](const auto &info) { return std::string(info.param.name); });

struct YCase {
    const char *name;
    int height; // of the curve area, whose bottom is y = 107
    float value;
    float min;
    float max;
    int y;
};

void PrintTo(const YCase &c, std::ostream *os)
{
    *os << c.name;
}

class SampleYCase : public testing::TestWithParam<YCase> { };

TEST_P(SampleYCase, Position)
{
    const YCase &c = GetParam();
    const TScopeRect area{112, 107 - c.height, 412, 107};
    EXPECT_EQ(SampleY(area, c.value, c.min, c.max), c.y);
}

INSTANTIATE_TEST_SUITE_P(Cases, SampleYCase,
                         testing::Values(YCase{"bottom", 100, 0, 0, 1, 107}, YCase{"top", 100, 1, 0, 1, 7},
                                         YCase{"middle", 100, 0.5f, 0, 1, 57},
                                         YCase{"negativeScale", 100, -2, -2, 5, 107},
                                         YCase{"tieToEvenDown", 5, 0.5f, 0, 1, 105}, // 2.5 -> 2
                                         YCase{"tieToEvenUp", 3, 0.5f, 0, 1, 105}, // 1.5 -> 2
                                         YCase{"tieHalf", 1, 0.5f, 0, 1, 107}, // 0.5 -> 0
                                         // Min = Max and a fixed scale with Min > Max draw along the bottom.
                                         YCase{"minEqualsMax", 100, 5, 3, 3, 107},
                                         YCase{"minAboveMax", 100, 5, 7, 1, 107},
                                         YCase{"wholeFloatRange", 100, 0, -kFloatMax, kFloatMax, 57},
                                         YCase{"hugeAboveFixedScale", 100, kFloatMax, 0, 1, 107 - kFarCoordinate},
                                         YCase{"hugeBelowFixedScale", 100, -kFloatMax, 0, 1, kFarCoordinate},
                                         YCase{"tinyScale", 100, 1e-45f, 0, 1e-45f, 7}),
                         [](const auto &info) { return std::string(info.param.name); });

struct CursorCase {
    const char *name;
    int width; // of the plot, which starts at x = 110
    qint64 span;
    int x;
    qint64 offset; // expected time - window start
};

void PrintTo(const CursorCase &c, std::ostream *os)
{
    *os << c.name;
}

class CursorTimeCase : public testing::TestWithParam<CursorCase> { };

TEST_P(CursorTimeCase, MultiplyDivideRounded)
{
    const CursorCase &c = GetParam();
    const TScopeRect plot{110, 5, 110 + c.width, 105};
    EXPECT_EQ(CursorTime(plot, c.x, 70000, c.span), 70000 + c.offset);
}

INSTANTIATE_TEST_SUITE_P(Cases, CursorTimeCase,
                         testing::Values(CursorCase{"middle", 400, 20000, 310, 10000},
                                         CursorCase{"halfRoundsUp", 400, 20, 120, 1}, // 0.5 -> 1
                                         CursorCase{"belowHalf", 400, 20, 119, 0}, // 0.45 -> 0
                                         CursorCase{"longestTimeBase", 2000, 72000000, 2109, 71964000},
                                         CursorCase{"emptyPlot", 0, 20000, 110, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
