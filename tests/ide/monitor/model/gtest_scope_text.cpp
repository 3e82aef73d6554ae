// The scope's read-out and scale texts: every range of the time format,
// values from tiny to the largest float, "." whatever the locale.
#include "ScopeText.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <limits>

namespace {

struct TimeCase {
    qint64 t;
    const char *text;
};

void PrintTo(const TimeCase &c, std::ostream *os)
{
    *os << c.t << " ms";
}

class ReadoutTime : public testing::TestWithParam<TimeCase> { };

TEST_P(ReadoutTime, Format)
{
    EXPECT_EQ(ReadoutTimeText(GetParam().t).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Ranges, ReadoutTime,
                         testing::Values(TimeCase{0, "0 [ms]"}, TimeCase{999, "999 [ms]"},
                                         TimeCase{1000, "1.000 [sec]"}, TimeCase{1500, "1.500 [sec]"},
                                         TimeCase{59999, "59.999 [sec]"}, TimeCase{60000, "1:00.000 [min]"},
                                         TimeCase{61234, "1:01.234 [min]"}, TimeCase{3599999, "59:59.999 [min]"},
                                         TimeCase{3600000, "1:00:00 [h]"}, TimeCase{3723004, "1:02:03 [h]"},
                                         // Beyond 32 bits: 100,000 hours.
                                         TimeCase{360000000000LL, "100000:00:00 [h]"}),
                         [](const auto &info) { return "ms" + std::to_string(info.param.t); });

struct ValueCase {
    const char *name;
    float value;
    const char *readout;
    const char *scale;
};

void PrintTo(const ValueCase &c, std::ostream *os)
{
    *os << c.name;
}

class ValueText : public testing::TestWithParam<ValueCase> { };

TEST_P(ValueText, ReadoutAndScale)
{
    const ValueCase &c = GetParam();
    QLocale::setDefault(QLocale(QLocale::German)); // a comma locale changes nothing
    EXPECT_EQ(ReadoutValueText(c.value).toStdString(), c.readout);
    EXPECT_LE(ReadoutValueText(c.value).size(), 20);
    EXPECT_EQ(ScaleValueText(c.value).toStdString(), c.scale);
    QLocale::setDefault(QLocale::c());
}

INSTANTIATE_TEST_SUITE_P(Values, ValueText,
                         testing::Values(ValueCase{"zero", 0, "0", "0.00"}, ValueCase{"half", 12.5f, "12.5", "12.50"},
                                         ValueCase{"negative", -0.126f, "-0.126", "-0.13"},
                                         ValueCase{"threeDecimals", 1234.5678f, "1234.568", "1234.57"},
                                         ValueCase{"roundsToZero", 0.0004f, "0", "0.00"},
                                         ValueCase{"negativeRoundsToZero", -0.0004f, "0", "-0.00"},
                                         ValueCase{"tiniest", std::numeric_limits<float>::denorm_min(), "0", "0.00"},
                                         ValueCase{"million", 1e6f, "1000000", "1000000.00"},
                                         ValueCase{"largest", std::numeric_limits<float>::max(), "3.403e+38",
                                                   "340282346638528859811704183484516925440.00"},
                                         ValueCase{"mostNegative", -std::numeric_limits<float>::max(), "-3.403e+38",
                                                   "-340282346638528859811704183484516925440.00"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ScopeText, ReadoutsAreCutToTwentyCharacters)
{
    EXPECT_EQ(CutReadoutText(QStringLiteral("123456789012345678901234")), QStringLiteral("12345678901234567890"));
    EXPECT_EQ(ShortScaleValueText(std::numeric_limits<float>::max()), QStringLiteral("3.40e+38"));
}

} // namespace
