#include "RecentFiles.h"

#include <gtest/gtest.h>

#include <ostream>

// Readable values in failure messages and test names.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct RecentCase {
    const char *name;
    QStringList opened; // in order of opening
    QStringList expected; // most recent first
};

void PrintTo(const RecentCase &c, std::ostream *os)
{
    *os << c.name;
}

TRecentFiles OpenAll(const QStringList &names)
{
    TRecentFiles recent;
    for (const QString &name : names)
        recent.AddFile(name);
    return recent;
}

class RecentFilesTest : public ::testing::TestWithParam<RecentCase> { };

TEST_P(RecentFilesTest, KeepsMostRecentFirst)
{
    const RecentCase &c = GetParam();
    EXPECT_EQ(OpenAll(c.opened).Files(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Adding, RecentFilesTest,
    ::testing::Values(
        RecentCase{"Empty", {}, {}}, RecentCase{"EmptyNameIgnored", {"/a.bas", "", "/b.bas"}, {"/b.bas", "/a.bas"}},
        RecentCase{"ReopenMovesToTop", {"/a.bas", "/b.bas", "/a.bas"}, {"/a.bas", "/b.bas"}},
        RecentCase{
            "CaseInsensitiveLaterSpellingWins", {"/x/Prog.bas", "/y.bas", "/X/PROG.BAS"}, {"/X/PROG.BAS", "/y.bas"}},
        RecentCase{
            "NonAsciiLettersCompareExactly", {"/x/\u00e4.bas", "/x/\u00c4.bas"}, {"/x/\u00c4.bas", "/x/\u00e4.bas"}},
        RecentCase{"FiveKept", {"/1", "/2", "/3", "/4", "/5"}, {"/5", "/4", "/3", "/2", "/1"}},
        RecentCase{"SixthDropsOldest", {"/1", "/2", "/3", "/4", "/5", "/6"}, {"/6", "/5", "/4", "/3", "/2"}},
        RecentCase{"ReopenAtLimitDropsNothing", {"/1", "/2", "/3", "/4", "/5", "/1"}, {"/1", "/5", "/4", "/3", "/2"}},
        RecentCase{"RelativeNameKeptAsGiven", {"prog.bas"}, {"prog.bas"}}),
    [](const ::testing::TestParamInfo<RecentCase> &info) { return std::string(info.param.name); });

TEST(RecentFiles, RemoveFileDropsEveryMatchIgnoringCase)
{
    TRecentFiles recent = OpenAll({"/a.bas", "/B.bas", "/c.bas"});
    recent.RemoveFile("/b.BAS");
    EXPECT_EQ(recent.Files(), QStringList({"/c.bas", "/a.bas"}));
    recent.RemoveFile("/none.bas");
    EXPECT_EQ(recent.Count(), 2);
}

TEST(RecentFiles, FileAtOutsideTheListIsEmpty)
{
    const TRecentFiles recent = OpenAll({"/a.bas", "/b.bas"});
    EXPECT_EQ(recent.FileAt(0), "/b.bas");
    EXPECT_EQ(recent.FileAt(1), "/a.bas");
    EXPECT_TRUE(recent.FileAt(2).isEmpty());
    EXPECT_TRUE(recent.FileAt(4).isEmpty());
    EXPECT_TRUE(recent.FileAt(-1).isEmpty());
}

TEST(RecentFiles, MenuCaptionShowsIndexAndNameAsWritten)
{
    EXPECT_EQ(RecentEntryCaption(0, "/home/u/a.bas"), "&0 /home/u/a.bas");
    EXPECT_EQ(RecentEntryCaption(4, "/R&D/x.bas"), "&4 /R&&D/x.bas");
}

} // namespace
