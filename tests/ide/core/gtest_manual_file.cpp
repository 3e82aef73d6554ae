// Where the workbench finds its programming manual: beside the program, or in
// the shared data folder of the installation the program belongs to.
#include "WorkbenchPaths.h"

#include "../../compiler/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct ManualPlace {
    const char *what;
    bool beside; // <prefix>/bin/Help/Velmo.pdf exists
    bool installed; // <prefix>/share/velmo/Help/Velmo.pdf exists
    const char *expected; // relative to the prefix
    friend void PrintTo(const ManualPlace &c, std::ostream *os)
    {
        *os << c.what;
    }
};

const ManualPlace kPlaces[] = {
    {"beside the program", true, false, "bin/Help/Velmo.pdf"},
    {"installed", false, true, "share/velmo/Help/Velmo.pdf"},
    {"beside wins", true, true, "bin/Help/Velmo.pdf"},
    {"neither: the name beside", false, false, "bin/Help/Velmo.pdf"},
};

class Manual : public testing::TestWithParam<ManualPlace> { };

void Touch(const QString &file)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile(file).open(QIODevice::WriteOnly);
}

TEST_P(Manual, IsFoundWhereItIs)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    QDir().mkpath(prefix.filePath("bin"));
    if (GetParam().beside)
        Touch(prefix.filePath("bin/Help/Velmo.pdf"));
    if (GetParam().installed)
        Touch(prefix.filePath("share/velmo/Help/Velmo.pdf"));
    EXPECT_EQ(TWorkbenchPaths(prefix.filePath("bin")).ManualFileName().toStdString(),
              prefix.filePath(GetParam().expected).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Globals, Manual, testing::ValuesIn(kPlaces),
                         [](const testing::TestParamInfo<ManualPlace> &info) {
                             return StableTestName(info.param.what, info.index);
                         });

} // namespace
