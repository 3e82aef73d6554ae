#include "../support/CaseNames.h"
#include "FileSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    const char *text;
    bool caseSensitive;
    bool wholeWords;
    const char *line;
    bool matches;
};

class LineMatchTest : public testing::TestWithParam<MatchCase> { };

TEST_P(LineMatchTest, MatchesPaddedLine)
{
    const MatchCase &c = GetParam();
    const TFileSearchOptions options{QString::fromUtf8(c.text), c.caseSensitive, c.wholeWords, {}};
    const QString padded = "  " + QString::fromUtf8(c.line) + "  ";
    EXPECT_EQ(LineMatches(padded, options), c.matches) << "text '" << c.text << "' line '" << c.line << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, LineMatchTest,
    testing::Values(MatchCase{"print", false, false, "10 PRINT x", true},
                    MatchCase{"print", true, false, "10 PRINT x", false},
                    MatchCase{"PRINT", true, false, "10 PRINT x", true}, MatchCase{"é", false, false, "REM CAFÉ", true},
                    MatchCase{"É", true, false, "REM café", false}, MatchCase{"print", false, false, "10 PRINTX", true},
                    MatchCase{"print", false, true, "10 PRINTX", false},
                    MatchCase{"print", false, true, "10 PRINT:x", true}, MatchCase{"x", false, true, "a = x + 1", true},
                    MatchCase{"x", false, true, "x_1 = 2", false}, MatchCase{"x", false, true, "a_x = 2", false},
                    // The first whole-word candidate touches "_": the line is rejected
                    // even though a clean "x" follows.
                    MatchCase{"x", false, true, "y = x_ + x", false},
                    // A partial-word hit is passed over, then the clean word counts.
                    MatchCase{"x", false, true, "xy = x", true}, MatchCase{"x", false, true, "max = 1", false},
                    MatchCase{"2", false, true, "a2 = 2", true}, MatchCase{"a =", false, true, "a = b", true},
                    MatchCase{"x", false, true, "x", true},
                    // Only ASCII letters and digits are word characters.
                    MatchCase{"x", false, true, "äxö", true}, MatchCase{"", false, false, "anything", false},
                    MatchCase{"", false, true, "anything", false}),
    [](const auto &info) {
        return StableTestName(std::string(info.param.text) + " in " + info.param.line, info.index);
    });

TEST(ExtensionFilter, ComparesTheLowerCaseExtensionAsSubstring)
{
    const struct {
        const char *name;
        const char *filter;
        bool passes;
    } cases[] = {
        {"/w/a.bas", "*.bas", true},
        {"/w/A.BAS", "*.bas", true},
        {"/w/run.LOG", "*.bas, *.inc, *.txt, *.log", true},
        {"/w/run.log", "*.bas, *.inc, *.txt", false},
        {"/w/a.ba", "*.bas", true},
        {"/w/a.b", "*.bas", true},
        {"/w/Makefile", "*.bas, *.inc, *.txt, *.log", false},
        {"/w.d/Makefile", "*.bas, *.inc, *.txt, *.log", false},
        {"/w/a.hex", "*.bas, *.inc, *.txt, *.log", false},
        {"NewFile1.bas", "*.bas", true},
        {"/w/x.tar.inc", "*.bas, *.inc", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExtensionPasses(c.name, c.filter), c.passes) << c.name << " / " << c.filter;
}

QStringList Search(const TFileSearchOptions &options, const QString &name, const QStringList &lines)
{
    QStringList results;
    TFileSearch search(options, [&](const QString &line) { results.append(line); });
    search.SearchFile(name, lines);
    return results;
}

TEST(FileSearch, ResultLinesCarryNameLineAndPaddedText)
{
    const TFileSearchOptions options{"goto", false, false, "*.bas"};
    const QStringList lines = {"10 GOTO 20", "20 PRINT", "\tgoto\t10"};
    EXPECT_EQ(Search(options, "/w/a.bas", lines),
              QStringList({"/w/a.bas(1):   10 GOTO 20  ", "/w/a.bas(3):       goto    10  "}));
    EXPECT_TRUE(Search(options, "/w/a.txt", lines).isEmpty());
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class DirectorySearch : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        WriteFile(m_dir.filePath("a.bas"), "10 x = 1\r\n20 PRINT x_1\r\n");
        WriteFile(m_dir.filePath("RUN.LOG"), "x\n");
        WriteFile(m_dir.filePath("notes"), "x\n");
        WriteFile(m_dir.filePath(".hidden.bas"), "x\n");
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("sub.bas"));
        WriteFile(m_dir.filePath("sub.bas/deep.bas"), "x\n");
    }

    QStringList Run(const TFileSearchOptions &options, bool expectOk = true)
    {
        QStringList results;
        TFileSearch search(options, [&](const QString &line) { results.append(line); });
        QString error;
        EXPECT_EQ(search.SearchDirectory(m_dir.path(), error), expectOk) << error.toStdString();
        m_error = error;
        results.sort();
        return results;
    }

    QTemporaryDir m_dir;
    QString m_error;
};

TEST_F(DirectorySearch, SearchesOrdinaryFilesThatPassTheFilter)
{
    const QString d = m_dir.path();
    EXPECT_EQ(Run({"x", false, true, "*.bas, *.inc, *.txt, *.log"}),
              QStringList({d + "/RUN.LOG(1):   x  ", d + "/a.bas(1):   10 x = 1  "}));
    EXPECT_EQ(Run({"x", false, false, "*.bas"}),
              QStringList({d + "/a.bas(1):   10 x = 1  ", d + "/a.bas(2):   20 PRINT x_1  "}));
}

// A file that lists as ordinary but cannot be read, even by root.
void MakeUnreadable(const QString &path)
{
    ASSERT_TRUE(QFile::link("/proc/self/mem", path));
}

TEST_F(DirectorySearch, UnreadableFileEndsTheSearch)
{
    const QString locked = m_dir.filePath("locked.bas");
    MakeUnreadable(locked);
    Run({"x", false, false, "*.bas"}, false);
    EXPECT_TRUE(m_error.contains("locked.bas")) << m_error.toStdString();
}

TEST_F(DirectorySearch, UnreadableFileOutsideTheFilterIsNotRead)
{
    MakeUnreadable(m_dir.filePath("image.hex"));
    EXPECT_EQ(Run({"x", false, false, "*.bas"}).size(), 2);
}

TEST(DirectorySearchMissing, MissingDirectoryFindsNothing)
{
    QStringList results;
    TFileSearch search({"x", false, false, "*.bas"}, [&](const QString &l) { results.append(l); });
    QString error;
    EXPECT_TRUE(search.SearchDirectory("/nonexistent/velmo/dir", error));
    EXPECT_TRUE(results.isEmpty());
}

} // namespace
