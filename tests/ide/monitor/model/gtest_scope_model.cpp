// The scope's data model: the channel ring, the scale, the time window and
// how it follows the present, the value under the cursor, the repaint
// throttle under a flood, hostile values and the CSV export.
#include "SampleExport.h"
#include "ScopeModel.h"
#include "ScopeTestClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr float kFloatMax = std::numeric_limits<float>::max();

// --- Ring -------------------------------------------------------------------

struct RingCase {
    const char *name;
    int added;
    int count;
    qint64 firstTime; // sample i is added at time i
};

void PrintTo(const RingCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChannelRing : public testing::TestWithParam<RingCase> { };

TEST_P(ChannelRing, KeepsTheLastSamplesOldestFirst)
{
    const RingCase &c = GetParam();
    TMcuChannel channel;
    for (int i = 0; i < c.added; ++i)
        channel.Add(i, float(i));
    ASSERT_EQ(channel.SampleCount(), c.count);
    for (int i = 0; i < channel.SampleCount(); ++i) {
        ASSERT_EQ(channel.Sample(i).time, c.firstTime + i) << "index " << i;
        ASSERT_EQ(channel.Sample(i).value, float(c.firstTime + i));
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, ChannelRing,
                         testing::Values(RingCase{"one", 1, 1, 0}, RingCase{"full", 2047, 2047, 0},
                                         // The 2048th sample drops the first.
                                         RingCase{"oneOver", 2048, 2047, 1},
                                         RingCase{"wrappedTwice", 5000, 2047, 5000 - 2047}),
                         [](const auto &info) { return std::string(info.param.name); });

// --- Scale ------------------------------------------------------------------

struct ScaleCase {
    const char *name;
    bool autoScale;
    std::vector<float> values;
    float min;
    float max;
};

void PrintTo(const ScaleCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChannelScale : public testing::TestWithParam<ScaleCase> { };

TEST_P(ChannelScale, WidensOnlyInAutoScale)
{
    const ScaleCase &c = GetParam();
    TMcuChannel channel;
    channel.SetAutoScale(c.autoScale);
    for (float v : c.values)
        channel.Add(0, v);
    EXPECT_EQ(channel.Min(), c.min);
    EXPECT_EQ(channel.Max(), c.max);
}

INSTANTIATE_TEST_SUITE_P(Values, ChannelScale,
                         testing::Values(ScaleCase{"firstFive", true, {5}, 0, 5},
                                         ScaleCase{"thenMinusTwo", true, {5, -2}, -2, 5},
                                         ScaleCase{"inside", true, {0.5f, 0.25f}, 0, 1},
                                         ScaleCase{"onlyWidens", true, {-7, 9, 1, 0}, -7, 9},
                                         ScaleCase{"huge", true, {kFloatMax, -kFloatMax}, -kFloatMax, kFloatMax},
                                         ScaleCase{"fixedStays", false, {5, -2}, 0, 1}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ScopeModel, ClearEmptiesEveryChannelAndResetsBothScaleModes)
{
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel model(clock.Clock(), &throttle);
    model.Channel(0).SetAutoScale(false);
    model.Channel(0).SetMin(3);
    model.Channel(0).SetMax(7);
    model.AddSample(0, 4);
    model.AddSample(1, 40);
    clock.now += 500;
    model.ClearScope();
    for (int i = 0; i < TScopeModel::kChannelCount; ++i) {
        EXPECT_EQ(model.Channel(i).SampleCount(), 0);
        EXPECT_EQ(model.Channel(i).Min(), 0);
        EXPECT_EQ(model.Channel(i).Max(), 1);
    }
    EXPECT_FALSE(model.Channel(0).AutoScale());
    EXPECT_EQ(model.StartTick(), clock.now);
    EXPECT_EQ(model.WindowStart(), clock.now);
}

// --- Time window --------------------------------------------------------------

struct TimeBaseCase {
    const char *name;
    qint64 sinceClear;
    qint64 msPerDiv;
    qint64 startAfterClear; // expected WindowStart - StartTick
};

void PrintTo(const TimeBaseCase &c, std::ostream *os)
{
    *os << c.name;
}

class ScopeTimeBase : public testing::TestWithParam<TimeBaseCase> { };

TEST_P(ScopeTimeBase, WindowEndsNowButNotBeforeTheClear)
{
    const TimeBaseCase &c = GetParam();
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel model(clock.Clock(), &throttle);
    clock.now += c.sinceClear;
    model.SetTimeBase(c.msPerDiv, QStringLiteral("x / div"));
    EXPECT_EQ(model.WindowSpan(), 20 * c.msPerDiv);
    EXPECT_EQ(model.WindowStart() - model.StartTick(), c.startAfterClear);
    EXPECT_EQ(model.Channel(3).WindowStart(), model.WindowStart());
    EXPECT_EQ(model.Channel(3).WindowSpan(), model.WindowSpan());
    EXPECT_EQ(model.TimeBaseText(), QStringLiteral("x / div"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ScopeTimeBase,
                         testing::Values(TimeBaseCase{"tenSecondsRightAfterClear", 0, 10000, 0},
                                         TimeBaseCase{"tenSecondsSoonAfterClear", 3000, 10000, 0},
                                         TimeBaseCase{"oneMsLongAfterClear", 3000, 1, 3000 - 20},
                                         TimeBaseCase{"oneHourAfterDays", 3 * 86400000LL, 3600000,
                                                      3 * 86400000LL - 72000000LL}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ScopeModel, WindowFollowsThePresentOnlyWhenSamplesArriveAfterItFilled)
{
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel model(clock.Clock(), &throttle);
    const qint64 cleared = clock.now;
    const struct {
        qint64 at; // since the clear
        bool sample;
        qint64 start; // expected window start since the clear
    } steps[] = {{5000, true, 0}, {20000, true, 0}, {20001, true, 1}, {90000, false, 1}, {90000, true, 70000}};
    for (const auto &step : steps) {
        clock.now = cleared + step.at;
        if (step.sample)
            model.AddSample(1, 1);
        EXPECT_EQ(model.WindowStart() - cleared, step.start) << "at " << step.at;
        EXPECT_EQ(model.Channel(0).WindowStart(), model.WindowStart());
    }
}

// --- Value under the cursor ---------------------------------------------------

TEST(ScopeModel, ReadoutShowsTheNewestValueNotAfterTheCursorTime)
{
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel model(clock.Clock(), &throttle);
    const qint64 cleared = clock.now;
    for (const auto &[at, value] : {std::pair{1000, 2.5f}, {2000, 7.0f}, {2000, 8.0f}, {3000, -1.25f}}) {
        clock.now = cleared + at;
        model.AddSample(0, value);
    }
    clock.now = cleared + 2500;
    model.AddSample(2, 4);
    model.Channel(1).SetActive(false);
    const struct {
        qint64 at;
        const char *time;
        const char *channel0;
        const char *channel2;
    } cases[] = {{999, "999 [ms]", "0", "0"},       {1000, "1.000 [sec]", "2.5", "0"},
                 {1500, "1.500 [sec]", "2.5", "0"}, {2000, "2.000 [sec]", "8", "0"},
                 {2999, "2.999 [sec]", "8", "4"},   {61234, "1:01.234 [min]", "-1.25", "4"}};
    for (const auto &c : cases) {
        const TScopeReadout readout = model.Readout(cleared + c.at);
        EXPECT_EQ(readout.time.toStdString(), c.time);
        EXPECT_EQ(readout.values[0].toStdString(), c.channel0) << "at " << c.at;
        EXPECT_EQ(readout.values[2].toStdString(), c.channel2) << "at " << c.at;
        EXPECT_TRUE(readout.values[1].isEmpty()); // inactive
    }
}

TEST(ScopeModel, AllChannelsInactiveStillReadTheTime)
{
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel model(clock.Clock(), &throttle);
    for (int i = 0; i < TScopeModel::kChannelCount; ++i)
        model.Channel(i).SetActive(false);
    const TScopeReadout readout = model.Readout(model.StartTick() + 42);
    EXPECT_EQ(readout.time, QStringLiteral("42 [ms]"));
    for (const QString &value : readout.values)
        EXPECT_TRUE(value.isEmpty());
}

// --- Hostile samples -------------------------------------------------------------

struct HostileCase {
    const char *name;
    int channel;
    float value;
    bool stored;
    float kept;
};

void PrintTo(const HostileCase &c, std::ostream *os)
{
    *os << c.name;
}

class HostileSample : public testing::TestWithParam<HostileCase> { };

TEST_P(HostileSample, IsDroppedOrKeptAsAFiniteValue)
{
    const HostileCase &c = GetParam();
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel model(clock.Clock(), &throttle);
    const TScopeModel::TAddResult result = model.AddSample(c.channel, c.value);
    EXPECT_EQ(result != TScopeModel::Dropped, c.stored);
    int total = 0;
    for (int i = 0; i < TScopeModel::kChannelCount; ++i)
        total += model.Channel(i).SampleCount();
    ASSERT_EQ(total, c.stored ? 1 : 0);
    if (c.stored) {
        EXPECT_EQ(model.Channel(c.channel).Sample(0).value, c.kept);
        EXPECT_TRUE(std::isfinite(model.Channel(c.channel).Min()));
        EXPECT_TRUE(std::isfinite(model.Channel(c.channel).Max()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostileSample,
    testing::Values(HostileCase{"negativeChannel", -1, 1, false, 0}, HostileCase{"channelFour", 4, 1, false, 0},
                    HostileCase{"notANumber", 0, std::numeric_limits<float>::quiet_NaN(), false, 0},
                    HostileCase{"plusInfinity", 1, std::numeric_limits<float>::infinity(), true, kFloatMax},
                    HostileCase{"minusInfinity", 2, -std::numeric_limits<float>::infinity(), true, -kFloatMax},
                    HostileCase{"largest", 3, kFloatMax, true, kFloatMax},
                    HostileCase{"tiniest", 0, std::numeric_limits<float>::denorm_min(), true,
                                std::numeric_limits<float>::denorm_min()},
                    HostileCase{"negative", 0, -123.5f, true, -123.5f}),
    [](const auto &info) { return std::string(info.param.name); });

// --- Repaint throttle ---------------------------------------------------------------

TEST(RepaintThrottle, GrantsOnlyMoreThanFiftyMillisecondsAfterTheLastGrant)
{
    TRepaintThrottle throttle;
    EXPECT_TRUE(throttle.Request(100));
    EXPECT_FALSE(throttle.Request(150));
    EXPECT_EQ(throttle.Wait(150), 1);
    EXPECT_TRUE(throttle.Request(151));
    EXPECT_EQ(throttle.Wait(151), 51);
}

TEST(RepaintThrottle, AFloodOfFourThousandSamplesPerSecondAsksAtMostTwentyRepaints)
{
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel model(clock.Clock(), &throttle);
    int repaints = 0;
    for (int ms = 0; ms < 1000; ++ms, ++clock.now)
        for (int channel = 0; channel < TScopeModel::kChannelCount; ++channel)
            repaints += model.AddSample(channel, float(ms)) == TScopeModel::RepaintNow ? 1 : 0;
    EXPECT_GE(repaints, 19);
    EXPECT_LE(repaints, 20);
    // Everything arriving in one tick asks for nothing more.
    for (int i = 0; i < 100000; ++i)
        repaints += model.AddSample(i % 4, 1) == TScopeModel::RepaintNow ? 1 : 0;
    EXPECT_LE(repaints, 21);
}

TEST(RepaintThrottle, IsSharedBetweenModelsThatShareIt)
{
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel first(clock.Clock(), &throttle);
    TScopeModel second(clock.Clock(), &throttle);
    EXPECT_EQ(first.AddSample(0, 1), TScopeModel::RepaintNow);
    clock.now += 30;
    EXPECT_EQ(second.AddSample(0, 1), TScopeModel::Stored);
    TScopeModel own(clock.Clock()); // without a shared throttle, one of its own
    EXPECT_EQ(own.AddSample(0, 1), TScopeModel::RepaintNow);
    EXPECT_NE(&own.Throttle(), &throttle);
}

// --- Export -------------------------------------------------------------------------

TEST(SampleExport, ActiveChannelsInTimeOrderRelativeToTheClear)
{
    TManualClock clock;
    TRepaintThrottle throttle;
    TScopeModel model(clock.Clock(), &throttle);
    const struct {
        qint64 at;
        int channel;
        float value;
    } samples[] = {{0, 2, 1.5f}, {10, 0, -0.1f}, {10, 1, 99}, {25, 2, 1e20f}, {25, 0, 3}, {1000, 3, -kFloatMax}};
    for (const auto &s : samples) {
        clock.now = model.StartTick() + s.at;
        model.AddSample(s.channel, s.value);
    }
    model.Channel(1).SetActive(false);
    EXPECT_EQ(SamplesCsv(model).toStdString(),
              "time_ms,channel,value\n"
              "0,2,1.5\n"
              "10,0,-0.1\n"
              "25,0,3\n"
              "25,2,1e+20\n"
              "1000,3,-3.4028235e+38\n");
}

} // namespace
