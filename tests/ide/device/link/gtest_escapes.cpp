// The escape notation of macros and commands, and how a decoded macro is
// split into sends and delays.

#include "Escapes.h"

#include <gtest/gtest.h>

namespace {

struct TDecodeCase {
    const char *name;
    QString text;
    QByteArray bytes;
};

class DecodeEscapesTest : public ::testing::TestWithParam<TDecodeCase> { };

TEST_P(DecodeEscapesTest, Decodes)
{
    EXPECT_EQ(DecodeEscapes(GetParam().text).toHex(' '), GetParam().bytes.toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecodeEscapesTest,
    ::testing::Values(TDecodeCase{"plain", "AT", "AT"}, TDecodeCase{"cr", "#13", "\r"},
                      TDecodeCase{"at_crlf", "AT#13#10", QByteArray::fromHex("41540d0a")},
                      TDecodeCase{"delay_stays_text", "#27T20", "\x1bT20"},
                      TDecodeCase{"hash_before_letter", "#A", QByteArray("\0A", 2)},
                      TDecodeCase{"four_digits", "#1234", "{4"}, TDecodeCase{"wraps", "#300", ","},
                      TDecodeCase{"literal_hash", "#35", "#"}, TDecodeCase{"open_at_end", "x#", QByteArray("x\0", 2)},
                      TDecodeCase{"reset_command", "#1#48#129#27", QByteArray::fromHex("0130811b")},
                      TDecodeCase{"hash_hash", "##7", QByteArray("\0\7", 2)},
                      TDecodeCase{"latin1", QString::fromUtf8("\xc3\xa4#255"), "\xe4\xff"},
                      TDecodeCase{"empty", "", ""}),
    [](const auto &info) { return std::string(info.param.name); });

struct TSplitCase {
    const char *name;
    QString macro;
    QList<TMacroStep> steps;
};

class SplitMacroTest : public ::testing::TestWithParam<TSplitCase> { };

TEST_P(SplitMacroTest, SplitsIntoSendsAndDelays)
{
    const QList<TMacroStep> steps = SplitMacro(DecodeEscapes(GetParam().macro));
    ASSERT_EQ(steps.size(), GetParam().steps.size());
    for (qsizetype i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].text, GetParam().steps[i].text) << i;
        EXPECT_EQ(steps[i].delayMs, GetParam().steps[i].delayMs) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Macros, SplitMacroTest,
                         ::testing::Values(TSplitCase{"no_delay", "AT#13#10", {{"AT\r\n", 0}}},
                                           TSplitCase{"pause_then_x", "#27T500X", {{"", 500}, {"X", 0}}},
                                           TSplitCase{"five_digits_at_most", "#27T1234567", {{"", 12345}, {"67", 0}}},
                                           TSplitCase{"no_digits", "a#27Tb", {{"a", 0}, {"b", 0}}},
                                           TSplitCase{"two_delays", "1#27T10 2#27T20", {{"1", 10}, {" 2", 20}}},
                                           TSplitCase{"esc_without_t", "#27X", {{"\x1bX", 0}}},
                                           TSplitCase{"empty", "", {}}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
