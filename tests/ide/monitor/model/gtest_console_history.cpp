// The console's history: the lines that scroll off the screen, kept up to a
// limit in order, their numbering, and the text taken out for Copy and
// Save text.

#include "ConsoleScreen.h"
#include "ConsoleText.h"

#include <gtest/gtest.h>

namespace {

// A screen of two rows (MaxRow 1) that took the lines L0, L1, ... each
// ended by CR LF: all but the last one scrolled off.
void Feed(TConsoleScreen &screen, int first, int count)
{
    for (int i = first; i < first + count; ++i)
        screen.WriteText("L" + QByteArray::number(i) + "\r\n");
}

// The history's lines without trailing blanks, joined by "|".
QByteArray Kept(const TConsoleScreen &screen)
{
    QByteArrayList lines;
    for (qint64 n = screen.FirstLine(); n < screen.ScreenTop(); ++n)
        lines << screen.Line(n).trimmed();
    return lines.join('|');
}

struct THistoryCase {
    const char *name;
    int limit;
    int lines; // fed before the limit changes
    int newLimit; // 0: unchanged
    int more; // fed after that
    QByteArray kept;
    qint64 first;
};

class HistoryTest : public ::testing::TestWithParam<THistoryCase> { };

TEST_P(HistoryTest, KeepsTheNewestLinesInOrder)
{
    const THistoryCase &c = GetParam();
    TConsoleScreen screen;
    screen.SetMaxRow(1);
    screen.SetHistoryLimit(c.limit);
    Feed(screen, 0, c.lines);
    if (c.newLimit > 0)
        screen.SetHistoryLimit(c.newLimit);
    Feed(screen, c.lines, c.more);
    EXPECT_EQ(Kept(screen), c.kept);
    EXPECT_EQ(screen.FirstLine(), c.first);
    // the screen keeps the last line and the blank line the cursor is on
    EXPECT_EQ(screen.ScreenTop(), std::max(c.lines + c.more - 1, 0));
    EXPECT_EQ(screen.EndLine(), screen.ScreenTop() + 2);
}

INSTANTIATE_TEST_SUITE_P(Limit, HistoryTest,
                         ::testing::Values(THistoryCase{"nothing_scrolled", 5, 1, 0, 0, "", 0},
                                           THistoryCase{"below_the_limit", 5, 4, 0, 0, "L0|L1|L2", 0},
                                           THistoryCase{"exactly_full", 3, 4, 0, 0, "L0|L1|L2", 0},
                                           THistoryCase{"oldest_dropped_first", 3, 8, 0, 0, "L4|L5|L6", 4},
                                           THistoryCase{"wraps_many_times", 4, 1003, 0, 0, "L998|L999|L1000|L1001",
                                                        998},
                                           THistoryCase{"shrunk_keeps_the_newest", 10, 9, 3, 2, "L7|L8|L9", 7},
                                           THistoryCase{"shrunk_when_not_full", 10, 3, 5, 0, "L0|L1", 0},
                                           THistoryCase{"grown_after_wrapping", 3, 8, 6, 2, "L4|L5|L6|L7|L8", 4}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ConsoleHistory, TheDefaultLimitHoldsTenThousandLines)
{
    TConsoleScreen screen;
    screen.SetMaxRow(1);
    Feed(screen, 0, 10002);
    EXPECT_EQ(screen.History().Size(), 10000);
    EXPECT_EQ(screen.Line(screen.FirstLine()).trimmed(), "L1");
    EXPECT_EQ(screen.Line(screen.ScreenTop() - 1).trimmed(), "L10000");
}

TEST(ConsoleHistory, TheModulesClearKeepsTheHistoryAndClearHistoryForgetsIt)
{
    TConsoleScreen screen;
    screen.SetMaxRow(1);
    Feed(screen, 0, 4);
    screen.WriteText("on screen\x0c");
    EXPECT_EQ(Kept(screen), "L0|L1|L2");
    EXPECT_EQ(screen.ScreenLines().size(), 1);
    screen.SetHexMode(true);
    EXPECT_EQ(Kept(screen), "L0|L1|L2");
    screen.ClearHistory();
    EXPECT_EQ(Kept(screen), "");
    EXPECT_EQ(screen.FirstLine(), screen.ScreenTop());
    screen.WriteText("AB" + QByteArray(70, 'C')); // three lines of 24 bytes
    EXPECT_EQ(screen.FirstLine(), 3); // numbering goes on
    EXPECT_TRUE(screen.Line(3).startsWith("41 42"));
}

TEST(ConsoleHistory, ACursorSequenceBelowTheScreenScrollsLinesIntoTheHistory)
{
    TConsoleScreen screen;
    screen.SetMaxRow(2);
    screen.WriteText("top\r\nnext\x1bP40x");
    EXPECT_EQ(Kept(screen), "top|next");
    EXPECT_EQ(screen.CursorRow(), 2);
}

// ---------------------------------------------------------------------------
// Text taken out

struct TTextCase {
    const char *name;
    TConsolePlace from;
    TConsolePlace to;
    QByteArray text;
};

class TextTest : public ::testing::TestWithParam<TTextCase> {
protected:
    // History "L0", "L1 has  blanks", "L2"; screen "screen line", "last", "" and a blank line.
    void SetUp() override
    {
        screen.SetMaxRow(3);
        screen.WriteText("L0\r\nL1 has  blanks\r\nL2\r\nscreen line\r\nlast\r\n\r\n");
    }
    TConsoleScreen screen;
};

TEST_P(TextTest, TakesTheTextBetweenTwoPlaces)
{
    const TTextCase &c = GetParam();
    ASSERT_EQ(screen.FirstLine(), 0);
    ASSERT_EQ(screen.ScreenTop(), 3);
    EXPECT_EQ(ConsoleText(screen, c.from, c.to, "\n"), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Places, TextTest,
    ::testing::Values(TTextCase{"within_a_line", {3, 2}, {3, 6}, "reen"}, TTextCase{"reversed", {3, 6}, {3, 2}, "reen"},
                      TTextCase{"empty", {3, 4}, {3, 4}, ""},
                      TTextCase{"history_into_screen", {1, 3}, {4, 2}, "has  blanks\nL2\nscreen line\nla"},
                      TTextCase{"trailing_blanks_left_out", {1, 0}, {1, 20}, "L1 has  blanks"},
                      TTextCase{"past_the_end_of_a_line", {0, 30}, {1, 2}, "\nL1"},
                      TTextCase{"before_the_first_line", {-5, 0}, {0, 2}, "L0"},
                      TTextCase{"past_the_last_line", {4, 0}, {99, 0}, "last\n\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TextTest, TheScreenAndEverythingEndWithTheirLastNonBlankLine)
{
    EXPECT_EQ(ConsoleScreenText(screen, "\n"), "screen line\nlast\n");
    EXPECT_EQ(ConsoleAllText(screen, "\r\n"), "L0\r\nL1 has  blanks\r\nL2\r\nscreen line\r\nlast\r\n");
    screen.WriteText("\x0c");
    EXPECT_EQ(ConsoleScreenText(screen, "\n"), "");
    EXPECT_EQ(ConsoleAllText(screen, "\n"), "L0\nL1 has  blanks\nL2\n");
}

TEST_F(TextTest, LinesTheHistoryDroppedAreLeftOut)
{
    screen.SetHistoryLimit(1);
    EXPECT_EQ(ConsoleText(screen, {0, 0}, {3, 6}, "\n"), "L2\nscreen");
}

} // namespace
