// The line map's text format: what the reader takes, what it refuses, and
// that what the writer writes reads back the same.
#include "lang/DebugMap.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmo::lang;

namespace {

struct RefusedMap {
    const char *name;
    const char *text;
    const char *error;
};

const RefusedMap kRefused[] = {
    {"Empty", "", "not a line map"},
    {"OtherFile", ":10000000\n", "not a line map"},
    {"LaterVersion", "VELMO-MAP 2\n", "line map version 2 is not known"},
    {"VersionNotANumber", "VELMO-MAP one\n", "not a line map"},
    {"LineOfUnknownFile", "VELMO-MAP 1\nfile 0 a.bas\nline 1 1 3\n", "bad record in line 3"},
    {"LinesOutOfOrder", "VELMO-MAP 1\nfile 0 a.bas\nline 2 0 3\nline 2 0 4\n", "bad record in line 4"},
    {"FileIndexSkipped", "VELMO-MAP 1\nfile 1 a.bas\n", "bad record in line 2"},
    {"BadShortName", "VELMO-MAP 1\nvar A1 byte 0 x\n", "bad record in line 2"},
    {"NegativeLength", "VELMO-MAP 1\nvar a byte -1 x\n", "bad record in line 2"},
    {"MissingField", "VELMO-MAP 1\nlabel 3\n", "bad record in line 2"},
    {"TrailingJunkInNumber", "VELMO-MAP 1\nfile 0 a.bas\nline 1x 0 3\n", "bad record in line 3"},
};

class RefusedMaps : public testing::TestWithParam<RefusedMap> { };

TEST_P(RefusedMaps, SayWhy)
{
    DebugMap map;
    std::string error;
    EXPECT_FALSE(ParseDebugMap(GetParam().text, map, error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Maps, RefusedMaps, testing::ValuesIn(kRefused),
                         [](const testing::TestParamInfo<RefusedMap> &info) { return info.param.name; });

TEST(DebugMap, ReadsEveryRecordAndSkipsCommentsUnknownWordsAndCrLf)
{
    const char *text = "VELMO-MAP 1\r\n"
                       "# made by hand\n"
                       "file 0 main.bas\n"
                       "file 1 lib dir/util.bas\n"
                       "line 1 0 2\n"
                       "line 2 1 7\n"
                       "colour 1 blue\n"
                       "var ab char 12 Greeting Text\n"
                       "label 2 Loop\n";
    DebugMap map;
    std::string error;
    ASSERT_TRUE(ParseDebugMap(text, map, error)) << error;
    ASSERT_EQ(map.files.size(), 2u);
    EXPECT_EQ(map.files[1], "lib dir/util.bas");
    ASSERT_EQ(map.lines.size(), 2u);
    EXPECT_EQ(map.lines[1].file, 1);
    EXPECT_EQ(map.lines[1].sourceLine, 7);
    ASSERT_EQ(map.variables.size(), 1u);
    EXPECT_EQ(map.variables[0].shortName, "ab");
    EXPECT_EQ(map.variables[0].type, "char");
    EXPECT_EQ(map.variables[0].length, 12);
    EXPECT_EQ(map.variables[0].name, "Greeting Text");
    ASSERT_EQ(map.labels.size(), 1u);
    EXPECT_EQ(map.labels[0].name, "Loop");
    EXPECT_EQ(map.labels[0].imageLine, 2);
}

DebugMap SampleMap()
{
    DebugMap map;
    map.files = {"prog.bas", "inc/more.bas"};
    map.lines = {{1, 0, 3}, {2, 1, 1}, {3, 1, 4}, {4, 0, 9}, {5, 0, 12}};
    map.variables = {{"a", "integer", 0, "Total"}, {"b", "float", 4, "Avg"}};
    map.labels = {{4, "DONE"}};
    return map;
}

TEST(DebugMap, WrittenTextReadsBackTheSame)
{
    const DebugMap map = SampleMap();
    DebugMap back;
    std::string error;
    ASSERT_TRUE(ParseDebugMap(FormatDebugMap(map), back, error)) << error;
    EXPECT_EQ(FormatDebugMap(back), FormatDebugMap(map));
    EXPECT_EQ(back.lines.size(), map.lines.size());
    EXPECT_EQ(back.variables[1].length, 4);
}

struct LineQuery {
    int file;
    int sourceLine;
    int imageLine; // 0: none
};

const LineQuery kQueries[] = {
    {0, 1, 1}, {0, 3, 1}, {0, 4, 4}, {0, 10, 5}, {0, 12, 5}, {0, 13, 0}, {1, 1, 2}, {1, 2, 3}, {1, 5, 0}, {2, 1, 0},
};

class StatementLines : public testing::TestWithParam<LineQuery> { };

TEST_P(StatementLines, MoveToTheNextLineWithCode)
{
    const DebugMap map = SampleMap();
    const MapLine *line = map.FirstLineAtOrAfter(GetParam().file, GetParam().sourceLine);
    EXPECT_EQ(line ? line->imageLine : 0, GetParam().imageLine);
}

INSTANTIATE_TEST_SUITE_P(Maps, StatementLines, testing::ValuesIn(kQueries),
                         [](const testing::TestParamInfo<LineQuery> &info) {
                             return "file" + std::to_string(info.param.file) + "_line" +
                                 std::to_string(info.param.sourceLine);
                         });

TEST(DebugMap, LookUps)
{
    const DebugMap map = SampleMap();
    EXPECT_EQ(map.LineOf(3)->sourceLine, 4);
    EXPECT_EQ(map.LineOf(6), nullptr);
    EXPECT_EQ(map.FileIndex("inc/more.bas"), 1);
    EXPECT_EQ(map.FileIndex("more.bas"), -1);
    ASSERT_NE(map.FindVariable("TOTAL"), nullptr);
    EXPECT_EQ(map.FindVariable("TOTAL")->shortName, "a");
    EXPECT_EQ(map.FindVariable("Tot"), nullptr);
}

TEST(DebugMap, ShortNamesRoundTripAsTheImageWritesThem)
{
    const std::pair<int, const char *> kNames[] = {{0, "a"}, {25, "z"}, {26, "aa"}, {51, "az"}, {52, "ba"}};
    for (const auto &[index, name] : kNames) {
        EXPECT_EQ(ShortVariableName(index), name);
        EXPECT_EQ(ShortVariableIndex(name), index);
    }
    for (int i = 0; i < 26 * 27; ++i)
        EXPECT_EQ(ShortVariableIndex(ShortVariableName(i)), i);
    EXPECT_EQ(ShortVariableIndex("A"), -1);
    EXPECT_EQ(ShortVariableIndex("abc"), -1);
    EXPECT_EQ(ShortVariableIndex(""), -1);
}

TEST(DebugMap, PathBesideTheImage)
{
    EXPECT_EQ(MapPathOf("dir.v2/prog.hex"), "dir.v2/prog.map");
    EXPECT_EQ(MapPathOf("dir.v2/prog"), "dir.v2/prog.map");
    EXPECT_EQ(MapPathOf("prog.bas"), "prog.map");
}

} // namespace
