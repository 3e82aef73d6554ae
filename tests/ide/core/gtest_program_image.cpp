// The files a program's image is built from, followed through the include
// directives as the compiler resolves them, and whether the image on disk is
// older than any of them.

#include "../support/CaseNames.h"
#include "ProgramImage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct TreeFile {
    const char *path; // relative to the case's folder
    const char *text;
};

bool Place(const QString &folder, const TreeFile &file)
{
    const QString path = folder + "/" + file.path;
    QDir().mkpath(QFileInfo(path).path());
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file.text) >= 0;
}

// ---------------------------------------------------------------------------

struct SourcesCase {
    const char *name;
    std::vector<TreeFile> files; // the first one is compiled
    QStringList sources; // relative, in the order they are found
};

const SourcesCase kSourcesCases[] = {
    {"no include", {{"prog.bas", "PRINT 1\n"}}, {"prog.bas"}},
    {"include adds bas", {{"prog.bas", "#INCLUDE \"lib\"\n"}, {"lib.bas", "\n"}}, {"prog.bas", "lib.bas"}},
    {"extension kept", {{"prog.bas", "#include \"defs.inc\"\n"}, {"defs.inc", "\n"}}, {"prog.bas", "defs.inc"}},
    {"any case and blanks", {{"prog.bas", "  #Include   \"lib\"\n"}, {"lib.bas", "\n"}}, {"prog.bas", "lib.bas"}},
    {"relative to the including file",
     {{"prog.bas", "#INCLUDE \"sub/a\"\n"}, {"sub/a.bas", "#INCLUDE \"b\"\n"}, {"sub/b.bas", "\n"}},
     {"prog.bas", "sub/a.bas", "sub/b.bas"}},
    {"backslash separates folders",
     {{"prog.bas", "#INCLUDE \"sub\\a\"\n"}, {"sub/a.bas", "\n"}},
     {"prog.bas", "sub/a.bas"}},
    {"each file once",
     {{"prog.bas", "#INCLUDE \"lib\"\n#INCLUDE \"LIB\"\n"}, {"lib.bas", "#INCLUDE \"prog\"\n"}},
     {"prog.bas", "lib.bas"}},
    {"under a condition counts",
     {{"prog.bas", "#IFDEF BIG\n#INCLUDE \"big\"\n#ENDIF\n"}, {"big.bas", "\n"}},
     {"prog.bas", "big.bas"}},
    {"comment and string are no directive",
     {{"prog.bas", "' #INCLUDE \"a\"\nPRINT \"#INCLUDE \\\"b\\\"\"\n"}},
     {"prog.bas"}},
    {"missing file still named", {{"prog.bas", "#INCLUDE \"gone\"\n"}}, {"prog.bas", "gone.bas"}},
};

class ProgramSourcesTest : public ::testing::TestWithParam<SourcesCase> { };

TEST_P(ProgramSourcesTest, FollowsTheIncludes)
{
    const SourcesCase &c = GetParam();
    QTemporaryDir dir;
    for (const TreeFile &file : c.files)
        ASSERT_TRUE(Place(dir.path(), file));
    QStringList expected;
    for (const QString &source : c.sources)
        expected << dir.filePath(source);
    EXPECT_EQ(ProgramSources(dir.filePath(c.files.front().path)), expected);
}

INSTANTIATE_TEST_SUITE_P(Sources, ProgramSourcesTest, ::testing::ValuesIn(kSourcesCases),
                         NameByField(&SourcesCase::name));

// ---------------------------------------------------------------------------

constexpr int kNoFile = -1;

struct AgeCase {
    const char *name;
    int image; // seconds ago the image was written, or kNoFile
    int source;
    int included; // or kNoFile
    bool outOfDate;
};

const AgeCase kAgeCases[] = {
    {"no image", kNoFile, 100, kNoFile, true}, {"image newer than all", 10, 100, 50, false},
    {"source newer", 100, 10, kNoFile, true},  {"included file newer", 100, 200, 10, true},
    {"same time", 100, 100, 100, false},       {"missing include ignored", 100, 200, kNoFile, false},
};

class ImageAgeTest : public ::testing::TestWithParam<AgeCase> { };

bool PlaceAged(const QString &path, int secondsAgo)
{
    if (secondsAgo == kNoFile)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("x\n") < 0 || !file.flush())
        return false;
    const QDateTime when = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() - secondsAgo);
    return file.setFileTime(when, QFileDevice::FileModificationTime);
}

TEST_P(ImageAgeTest, ComparesWithEverySource)
{
    const AgeCase &c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(PlaceAged(dir.filePath("prog.hex"), c.image));
    ASSERT_TRUE(PlaceAged(dir.filePath("prog.bas"), c.source));
    ASSERT_TRUE(PlaceAged(dir.filePath("lib.bas"), c.included));
    EXPECT_EQ(ImageOutOfDate(dir.filePath("prog.hex"), {dir.filePath("prog.bas"), dir.filePath("lib.bas")}),
              c.outOfDate);
}

INSTANTIATE_TEST_SUITE_P(Ages, ImageAgeTest, ::testing::ValuesIn(kAgeCases), NameByField(&AgeCase::name));

struct SourceTypeCase {
    const char *file;
    bool source;
};

const SourceTypeCase kSourceTypeCases[] = {
    {"/w/prog.bas", true},     {"/w/PROG.BAS", true},  {"/w/notes.txt", true}, {"/w/lib.inc", true},
    {"/w/NewFile1.bas", true}, {"/w/prog.hex", false}, {"/w/prog.LST", false}, {"/w/console.log", false},
};

class SourceTypeTest : public ::testing::TestWithParam<SourceTypeCase> { };

TEST_P(SourceTypeTest, WrittenFilesAreNoSources)
{
    EXPECT_EQ(IsProgramSource(GetParam().file), GetParam().source);
}

INSTANTIATE_TEST_SUITE_P(Types, SourceTypeTest, ::testing::ValuesIn(kSourceTypeCases),
                         NameByField(&SourceTypeCase::file));

TEST(ImageFileOf, ReplacesTheExtension)
{
    EXPECT_EQ(ImageFileOf("/w/prog.bas"), "/w/prog.hex");
    EXPECT_EQ(ImageFileOf("/w/prog.v2.txt"), "/w/prog.v2.hex");
    EXPECT_EQ(ImageFileOf("/w/prog"), "/w/prog.hex");
}

} // namespace
