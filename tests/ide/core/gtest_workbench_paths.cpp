// The paths of a workbench: its program directory, the settings and layout
// files it was given or their normal places, and which paths the program-wide
// names read while several workbenches live.
#include "Globals.h"

#include "../../compiler/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QDir>
#include <QTemporaryDir>

namespace {

struct TProgramDirCase {
    const char *what;
    const char *given; // below the temporary folder
    const char *expected;
    friend void PrintTo(const TProgramDirCase &c, std::ostream *os)
    {
        *os << c.what;
    }
};

const TProgramDirCase kProgramDirs[] = {
    {"separator added", "/prog", "/prog/"},
    {"separator kept", "/prog/", "/prog/"},
    {"nested folder", "/prog/bin", "/prog/bin/"},
};

class ProgramDirOf : public testing::TestWithParam<TProgramDirCase> { };

} // namespace

TEST_P(ProgramDirOf, EndsWithOneSeparator)
{
    EXPECT_EQ(TWorkbenchPaths(QString("/tmp") + GetParam().given).ProgramDir().toStdString(),
              (QString("/tmp") + GetParam().expected).toStdString());
}

INSTANTIATE_TEST_SUITE_P(WorkbenchPaths, ProgramDirOf, testing::ValuesIn(kProgramDirs),
                         [](const testing::TestParamInfo<TProgramDirCase> &info) {
                             return StableTestName(info.param.what, info.index);
                         });

TEST(WorkbenchPaths, SettingsBesideAWritableProgramAndGivenFilesWin)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TWorkbenchPaths normal(dir.path());
    EXPECT_EQ(normal.SettingsFileName().toStdString(), dir.filePath("Korvid.ini").toStdString());
    EXPECT_TRUE(normal.LayoutFileName().endsWith("/Korvid/Korvid.ini"));
    const TWorkbenchPaths given(dir.path(), dir.filePath("s.ini"), dir.filePath("l.ini"));
    EXPECT_EQ(given.SettingsFileName().toStdString(), dir.filePath("s.ini").toStdString());
    EXPECT_EQ(given.LayoutFileName().toStdString(), dir.filePath("l.ini").toStdString());
}

TEST(WorkbenchPaths, TheNamesReadThePathsPutInForceLast)
{
    const TWorkbenchPaths first("/tmp/first", "/tmp/first.ini", "/tmp/first-layout.ini");
    const TWorkbenchPaths second("/tmp/second", "/tmp/second.ini", "/tmp/second-layout.ini");
    const TPathsInUse useFirst(first);
    EXPECT_EQ(QString(ProgramDir).toStdString(), "/tmp/first/");
    {
        const TPathsInUse useSecond(second);
        EXPECT_EQ(QString(ProgramDir).toStdString(), "/tmp/second/");
        EXPECT_EQ(SettingsFileName().toStdString(), "/tmp/second.ini");
        EXPECT_EQ(LayoutFileName().toStdString(), "/tmp/second-layout.ini");
        EXPECT_EQ(ManualFileName().toStdString(), "/tmp/second/Help/Velmo.pdf");
    }
    EXPECT_EQ(SettingsFileName().toStdString(), "/tmp/first.ini");
    EXPECT_EQ(&CurrentPaths(), &first);
}
