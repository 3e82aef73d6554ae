// The console's screen model: the control bytes, the cursor sequence, line
// wrapping and scrolling, HEX mode, every byte value, and the recording.

#include "../../support/CaseNames.h"
#include "ConsoleScreen.h"
#include "Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Trimmed(const QByteArray &line)
{
    QByteArray text = line;
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

// The screen's lines without their trailing blanks, joined by "|".
QString Shown(const TConsoleScreen &screen)
{
    QStringList lines;
    for (const QByteArray &line : screen.ScreenLines())
        lines << QString::fromLatin1(Trimmed(line));
    return lines.join('|');
}

struct TScreenCase {
    const char *name;
    bool crlfIn;
    QByteArray input;
    QString shown;
    int row;
    int col;
};

class ScreenTest : public ::testing::TestWithParam<TScreenCase> { };

TEST_P(ScreenTest, ShowsTheBytes)
{
    const TScreenCase &c = GetParam();
    TConsoleScreen screen;
    screen.SetMaxRow(3);
    screen.CRLFIn = c.crlfIn;
    screen.WriteText(c.input);
    EXPECT_EQ(Shown(screen), c.shown);
    EXPECT_EQ(screen.CursorRow(), c.row);
    EXPECT_EQ(screen.CursorCol(), c.col);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ScreenTest,
    ::testing::Values(TScreenCase{"plain", false, "abc", "abc", 0, 4},
                      TScreenCase{"line_feed_keeps_column", false, "ab\ncd", "ab|  cd", 1, 5},
                      TScreenCase{"cr_overwrites", false, "hello\rj", "jello", 0, 2},
                      TScreenCase{"cr_lf", false, "ab\r\ncd", "ab|cd", 1, 3},
                      TScreenCase{"crlf_in_makes_new_line", true, "ab\rcd", "ab|cd", 1, 3},
                      TScreenCase{"backspace", false, "abc\b\bX", "aX", 0, 3},
                      TScreenCase{"backspace_at_column_1", false, "\b\bx", "x", 0, 2},
                      TScreenCase{"cursor_sequence", false, QByteArray("\x1bP25*"), "||     *", 2, 7},
                      TScreenCase{"escape_other", false,
                                  "\x1b"
                                  "A",
                                  "A", 0, 2},
                      TScreenCase{"escape_split_overwrites", false, "xyz\x1bP00Q", "Qyz", 0, 2},
                      TScreenCase{"column_clamped", false, QByteArray("\x1bP0\xff!"), QString(119, ' ') + "!|", 1, 1},
                      TScreenCase{"row_below_scrolls", false, QByteArray("top\x1bP50x"), "|||x", 3, 2},
                      TScreenCase{"row_below_zero_is_zero", false, QByteArray("ab\x1bP\x01\x31Z"), "aZ", 0, 3},
                      TScreenCase{"form_feed_clears", false, "abc\ndef\x0cgh", "gh", 0, 3},
                      TScreenCase{"sub_clears", false, "abc\x1aX", "X", 0, 2},
                      TScreenCase{"cursor_off_on", false,
                                  "\x05"
                                  "a\x04",
                                  "a", 0, 2},
                      TScreenCase{"bell_is_no_character", false,
                                  "a\x07"
                                  "b",
                                  "ab", 0, 3},
                      TScreenCase{"other_controls_are_characters", false, QByteArray("a\x01\x00z", 4),
                                  QString("a\x01") + QChar(0) + "z", 0, 5},
                      TScreenCase{"scrolls_at_max_row", false, "1\r\n2\r\n3\r\n4\r\n5", "2|3|4|5", 3, 2},
                      TScreenCase{"wraps_after_120", false, QByteArray(121, 'w'), QString(120, 'w') + "|w", 1, 2}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ConsoleScreen, LinesAreBlankFilledToTheirModesWidth)
{
    TConsoleScreen screen;
    ASSERT_EQ(screen.ScreenLines().size(), 1);
    EXPECT_EQ(screen.ScreenLines()[0], QByteArray(120, ' '));
    screen.SetHexMode(true);
    EXPECT_EQ(screen.ScreenLines()[0], QByteArray(73, ' '));
}

TEST(ConsoleScreen, HexModeShowsPairsAndCharacters)
{
    TConsoleScreen screen;
    screen.SetHexMode(true);
    screen.WriteText("A\r");
    EXPECT_EQ(screen.ScreenLines()[0], "41 0D" + QByteArray(68, ' ') + "A.");
    EXPECT_EQ(screen.CursorCol(), 7);
    QByteArray full;
    for (int i = 0; i < 25; ++i)
        full.append(char(0x30 + i));
    screen.ClearScreen();
    screen.WriteText(full);
    ASSERT_EQ(screen.ScreenLines().size(), 2);
    const QByteArray first = screen.ScreenLines()[0];
    EXPECT_EQ(first.left(5), "30 31");
    EXPECT_EQ(first.mid(69, 2), "47"); // the 24th pair starts at column 70
    EXPECT_EQ(first.mid(71, 2), "  ");
    EXPECT_EQ(first.mid(73), full.left(24)); // characters from column 74
    EXPECT_EQ(screen.ScreenLines()[1], "48" + QByteArray(71, ' ') + "H");
    EXPECT_EQ(screen.CursorRow(), 1);
    EXPECT_EQ(screen.CursorCol(), 4);
}

TEST(ConsoleScreen, HexModeInterpretsNoControlBytes)
{
    TConsoleScreen screen;
    screen.SetHexMode(true);
    screen.WriteText("\x1bP\x0c\n");
    EXPECT_EQ(screen.ScreenLines()[0].left(11), "1B 50 0C 0A");
    EXPECT_EQ(screen.EscState(), TConsoleScreen::esNormal);
}

TEST(ConsoleScreen, SwitchingTheModeClearsTheScreen)
{
    TConsoleScreen screen;
    int cleared = 0;
    screen.OnCleared = [&] { ++cleared; };
    screen.WriteText("text\n");
    screen.SetHexMode(true);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(Shown(screen), "");
    EXPECT_EQ(screen.CursorRow(), 0);
    screen.SetHexMode(true);
    EXPECT_EQ(cleared, 1);
    screen.SetHexMode(false);
    EXPECT_EQ(cleared, 2);
}

TEST(ConsoleScreen, AnEscapeSplitAcrossChunksCarriesOver)
{
    TConsoleScreen screen;
    screen.SetMaxRow(5);
    screen.WriteText("\x1b");
    EXPECT_EQ(screen.EscState(), TConsoleScreen::esEscape);
    screen.WriteText("P");
    EXPECT_EQ(screen.EscState(), TConsoleScreen::esRow);
    screen.WriteText("1");
    EXPECT_EQ(screen.EscState(), TConsoleScreen::esColumn);
    screen.WriteText("2!");
    EXPECT_EQ(Shown(screen), "|  !");
}

TEST(ConsoleScreen, EveryByteValueInEveryStateKeepsTheScreenSound)
{
    for (const bool hex : {false, true}) {
        TConsoleScreen screen;
        screen.SetMaxRow(4);
        screen.SetHexMode(hex);
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i)).append('\x1b').append('P').append(char(i)).append(char(255 - i));
        screen.WriteText(all);
        ASSERT_FALSE(screen.ScreenLines().isEmpty());
        EXPECT_LT(screen.CursorRow(), screen.ScreenLines().size());
        EXPECT_LE(screen.CursorRow(), screen.MaxRow());
        EXPECT_GE(screen.CursorCol(), 1);
        EXPECT_LE(screen.CursorCol(), hex ? TConsoleScreen::kHexLastColumn : TConsoleScreen::kAsciiWidth);
    }
}

TEST(ConsoleScreen, ACursorProgramDoesNotGrowTheScreenBelowTheVisibleRows)
{
    TConsoleScreen screen;
    screen.SetMaxRow(10);
    for (int i = 0; i < 1000; ++i)
        screen.WriteText("\x1bP00time\n\ndate\n");
    EXPECT_LE(screen.ScreenLines().size(), 11);
}

TEST(ConsoleScreen, TheViewHearsStoredLinesAndScrolls)
{
    TConsoleScreen screen;
    screen.SetMaxRow(1);
    QList<int> stored;
    int scrolls = 0;
    screen.OnLineStored = [&](int row) { stored << row; };
    screen.OnScrolledUp = [&] { ++scrolls; };
    screen.WriteText("a\nb\nc");
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(stored, QList<int>({0, 1, 1}));
}

class RecordingTest : public ::testing::Test {
protected:
    QString ReadLog() const
    {
        QFile file(logName);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString("<none>");
    }

    QTemporaryDir dir;
    QString logName = dir.filePath("Session.log");
};

TEST_F(RecordingTest, RecordsScrolledAndRemainingLinesBetweenStartAndEnd)
{
    {
        TConsoleScreen screen;
        screen.SetMaxRow(1);
        ASSERT_TRUE(screen.SetLogFile(logName));
        EXPECT_TRUE(screen.Logging());
        EXPECT_EQ(screen.LogFileName(), logName);
        screen.WriteText("one\r\ntwo\r\nthree");
        ASSERT_TRUE(screen.SetLogging(false));
        EXPECT_FALSE(screen.Logging());
    }
    const QStringList lines = ReadLog().split("\r\n");
    ASSERT_EQ(lines.size(), 7) << ReadLog().toStdString();
    EXPECT_EQ(lines[0], "");
    EXPECT_TRUE(lines[1].startsWith("--- Start of recording: ") && lines[1].endsWith(" ---"));
    EXPECT_EQ(lines[2], "one" + QString(117, ' '));
    EXPECT_EQ(lines[3], "two" + QString(117, ' '));
    EXPECT_EQ(lines[4], "three" + QString(115, ' '));
    EXPECT_TRUE(lines[5].startsWith("--- End of recording: "));
    EXPECT_EQ(lines[6], "");
}

TEST_F(RecordingTest, AnExistingLogGetsABlankLineAndANewStart)
{
    QFile old(logName);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content\r\n");
    old.close();
    TConsoleScreen screen;
    ASSERT_TRUE(screen.SetLogFile(logName));
    screen.WriteText("x\x0c");
    screen.SetLogFile(QString());
    const QStringList lines = ReadLog().split("\r\n");
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "old content");
    EXPECT_EQ(lines[1], "");
    EXPECT_TRUE(lines[2].startsWith("--- Start of recording: "));
    EXPECT_EQ(lines[3], "x" + QString(119, ' ')); // written when the screen was cleared
}

TEST_F(RecordingTest, TheSessionIsRecordedWhenTheConsoleGoesAway)
{
    {
        TConsoleScreen screen;
        ASSERT_TRUE(screen.SetLogFile(logName));
        screen.WriteText("unsaved");
    }
    EXPECT_TRUE(ReadLog().contains("unsaved"));
    EXPECT_TRUE(ReadLog().contains("--- End of recording: "));
}

TEST_F(RecordingTest, ALogFileThatCannotBeOpenedRecordsNothing)
{
    TConsoleScreen screen;
    EXPECT_FALSE(screen.SetLogFile(dir.filePath("no/such/folder/x.log")));
    EXPECT_FALSE(screen.Logging());
    EXPECT_TRUE(screen.SetLogging(false));
    EXPECT_FALSE(screen.SetLogging(true)); // the name is known, the file still cannot be opened
}

TEST_F(RecordingTest, ANamedPipeNobodyReadsIsRefusedWithoutWaiting)
{
    const QString pipe = dir.filePath("log.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    TConsoleScreen screen;
    // A child ends a test whose open() would wait for a reader for good.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(5);
        ::_exit(screen.SetLogFile(pipe) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the open waited (signal " << WTERMSIG(status) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a pipe nobody reads was taken";
}

TEST_F(RecordingTest, AWriteErrorSurfacesWhenTheRecordingStops)
{
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TConsoleScreen screen;
    ASSERT_TRUE(screen.SetLogFile("/dev/full"));
    screen.WriteText(QByteArray(100000, 'x'));
    EXPECT_THROW(screen.SetLogging(false), EKorvidError);
    EXPECT_FALSE(screen.Logging());
}

// A target where writes fail: the first failure is reported at once and
// once, nothing more is written, and the stop raises the same error.
struct TFailingTargetCase {
    const char *name;
    bool pipe; // a named pipe whose reader went away, else /dev/full
    const char *reason; // the system's text in the error
};

class FailingLogTest : public RecordingTest, public ::testing::WithParamInterface<TFailingTargetCase> { };

TEST_P(FailingLogTest, TheFirstFailedWriteIsReportedAtOnceAndAgainAtTheStop)
{
    std::signal(SIGPIPE, SIG_IGN); // as every program of the kit does
    QString target = "/dev/full";
    int reader = -1;
    if (GetParam().pipe) {
        target = dir.filePath("log.fifo");
        ASSERT_EQ(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        reader = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
    } else if (!QFile::exists(target)) {
        GTEST_SKIP() << "no /dev/full";
    }
    TConsoleScreen screen;
    screen.SetMaxRow(1);
    QStringList reported;
    screen.OnLogWriteFailed = [&reported](const QString &error) { reported << error; };
    ASSERT_TRUE(screen.SetLogFile(target));
    if (reader >= 0)
        ::close(reader);
    screen.WriteText("one\r\ntwo\r\nthree\r\n");
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].startsWith("Unable to write to " + target + ": ")) << qPrintable(reported[0]);
    EXPECT_TRUE(reported[0].contains(GetParam().reason, Qt::CaseInsensitive)) << qPrintable(reported[0]);
    try {
        screen.SetLogging(false);
        ADD_FAILURE() << "the stop raised nothing";
    } catch (const EKorvidError &e) {
        EXPECT_EQ(e.Message(), reported[0]);
    }
    EXPECT_EQ(reported.size(), 1);
    EXPECT_FALSE(screen.Logging());
}

INSTANTIATE_TEST_SUITE_P(Targets, FailingLogTest,
                         ::testing::Values(TFailingTargetCase{"full_device", false, "space"},
                                           TFailingTargetCase{"pipe_reader_gone", true, "pipe"}),
                         NameByField(&TFailingTargetCase::name));

} // namespace
