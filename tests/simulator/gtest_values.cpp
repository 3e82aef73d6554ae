// Numbers as the module prints and reads them, its clock, and the test
// signals on its ADC inputs.
#include "ModuleClock.h"
#include "TokenTable.h"
#include "Value.h"
#include "VirtualHardware.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

using velsim::Value;
using namespace velmo::lang;

struct FormatCase {
    const char *name;
    Value value;
    const char *format; // nullptr: plain PRINT
    const char *text;
    friend void PrintTo(const FormatCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class Formats : public testing::TestWithParam<FormatCase> { };

TEST_P(Formats, AsPrintWritesThem)
{
    const FormatCase &c = GetParam();
    EXPECT_EQ(c.format ? velsim::FormatUsing(c.format, c.value) : velsim::FormatValue(c.value), c.text);
}

const FormatCase kFormats[] = {
    {"Integer", Value::Int(-42), nullptr, "-42"},
    {"WholeReal", Value::Real(2.0), nullptr, "2"},
    {"SevenDigits", Value::Real(1.0 / 3), nullptr, "0.3333333"},
    {"SingleFloatNoise", Value::Real(static_cast<float>(0.1)), nullptr, "0.1"},
    {"Large", Value::Real(1e10), nullptr, "1e+10"},
    {"NotANumber", Value::Real(std::nan("")), nullptr, "NaN"},
    {"UsingPadsWithBlanks", Value::Real(3.14159), "##.##", " 3.14"},
    {"UsingPadsWithZeros", Value::Int(7), "000", "007"},
    {"UsingSignTakesAPlace", Value::Int(-7), "000", "-07"},
    {"UsingWiderThanTheField", Value::Int(12345), "##", "12345"},
    {"UsingKeepsTheText", Value::Int(5), "T=## C", "T= 5 C"},
    {"UsingPointWithoutDecimals", Value::Real(2.6), "##.", " 3."},
    {"UsingWithoutField", Value::Int(5), "x", "x5"},
};
INSTANTIATE_TEST_SUITE_P(Values, Formats, testing::ValuesIn(kFormats),
                         [](const auto &info) { return std::string(info.param.name); });

struct ParseCase {
    const char *name;
    const char *text;
    Value value;
    friend void PrintTo(const ParseCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class Parses : public testing::TestWithParam<ParseCase> { };

TEST_P(Parses, AsInputReadsThem)
{
    const Value v = velsim::ParseValue(GetParam().text);
    EXPECT_EQ(v.real, GetParam().value.real);
    EXPECT_EQ(v.AsReal(), GetParam().value.AsReal());
}

const ParseCase kParses[] = {
    {"Integer", " 42x", Value::Int(42)}, {"Negative", "-17", Value::Int(-17)}, {"Real", "12.5", Value::Real(12.5)},
    {"Hex", "$1F", Value::Int(31)},      {"Binary", "%101", Value::Int(5)},    {"Nothing", "abc", Value::Int(0)},
    {"Empty", "", Value::Int(0)},
};
INSTANTIATE_TEST_SUITE_P(Texts, Parses, testing::ValuesIn(kParses),
                         [](const auto &info) { return std::string(info.param.name); });

struct ShiftCase {
    const char *name;
    int32_t value;
    int32_t count;
    int32_t left;
    int32_t right;
    friend void PrintTo(const ShiftCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class Shifts : public testing::TestWithParam<ShiftCase> { };

TEST_P(Shifts, AnyCountGivesAValue)
{
    EXPECT_EQ(velsim::ShiftLeft(GetParam().value, GetParam().count), GetParam().left);
    EXPECT_EQ(velsim::ShiftRight(GetParam().value, GetParam().count), GetParam().right);
}

const ShiftCase kShifts[] = {
    {"Small", -16, 2, -64, -4},
    {"AllOut", -16, 32, 0, -1},
    {"NegativeCountTurnsAround", 16, -2, 4, 64},
    {"LowestCount", -16, -2147483647 - 1, -1, 0},
    {"HighestCount", 1, 2147483647, 0, 0},
};
INSTANTIATE_TEST_SUITE_P(Counts, Shifts, testing::ValuesIn(kShifts),
                         [](const auto &info) { return std::string(info.param.name); });

class Clock : public testing::Test {
protected:
    Clock()
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        m_clock.SetWallSource([this] { return m_now; });
    }

    std::time_t m_now = 1709214330; // Thursday, 29 February 2024, 13:45:30
    velsim::CModuleClock m_clock;
};

TEST_F(Clock, ReadsTheHostsTime)
{
    EXPECT_EQ(m_clock.Read(symTIME, -1), 13 * 3600 + 45 * 60 + 30);
    EXPECT_EQ(m_clock.Read(symTIME, symHOUR), 13);
    EXPECT_EQ(m_clock.Read(symTIME, symSECOND), 30);
    EXPECT_EQ(m_clock.Read(symDATE, -1), 8825); // days since 1 January 2000
    EXPECT_EQ(m_clock.Read(symDATE, symYEAR), 2024);
    EXPECT_EQ(m_clock.Read(symDATE, symMONTH), 2);
    EXPECT_EQ(m_clock.Read(symDATE, symDAY), 29);
    EXPECT_EQ(m_clock.Read(symDAY, -1), 4);
}

TEST_F(Clock, KeepsWhatTheProgramSetsWhileTimeGoesOn)
{
    m_clock.Write(symTIME, symHOUR, 7);
    m_clock.Write(symDATE, -1, 0);
    m_clock.Write(symDAY, -1, 1);
    m_now += 3600;
    EXPECT_EQ(m_clock.Read(symTIME, symHOUR), 8);
    EXPECT_EQ(m_clock.Read(symTIME, symMINUTE), 45);
    EXPECT_EQ(m_clock.Read(symDATE, symYEAR), 2000);
    EXPECT_EQ(m_clock.Read(symDATE, symDAY), 1);
    EXPECT_EQ(m_clock.Read(symDAY, -1), 1);
}

TEST_F(Clock, ExtremeValuesStayOnTheCalendar)
{
    m_clock.Write(symDATE, symYEAR, 2147483647);
    EXPECT_EQ(m_clock.Read(symDATE, symYEAR), 9999);
    m_clock.Write(symTIME, -1, -2147483647 - 1);
    EXPECT_GE(m_clock.Read(symTIME, -1), 0);
}

TEST(TestSignals, VarySlowlyWithinTheConvertersRange)
{
    for (int channel = 0; channel < velsim::CVirtualHardware::kAdcs; ++channel) {
        int32_t low = velsim::CVirtualHardware::kAdcMax;
        int32_t high = 0;
        int32_t previous = velsim::CVirtualHardware::TestSignal(channel, 0);
        int steps = 0;
        for (int64_t ms = 0; ms <= 120000; ms += 10) {
            const int32_t v = velsim::CVirtualHardware::TestSignal(channel, ms);
            low = std::min(low, v);
            high = std::max(high, v);
            steps += std::abs(v - previous) > 32 ? 1 : 0; // the sawtooth's return
            previous = v;
        }
        EXPECT_GE(low, 0) << channel;
        EXPECT_LE(high, velsim::CVirtualHardware::kAdcMax) << channel;
        EXPECT_GE(high - low, 200) << channel;
        EXPECT_LE(steps, 12) << channel;
    }
}

} // namespace
