// The line map velc writes beside the HEX file and the listing: the source
// place of every image line (include files too), the variables under their
// names as written, the labels; written with the other two or not at all.
#include "Compiler.h"

#include "lang/DebugMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;
using velmo::lang::DebugMap;

namespace {

std::string ReadFile(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path &path, const std::string &text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

const char kMain[] = "' totals\n" // 1
                     "INTEGER Total, count\n" // 2
                     "#INCLUDE \"lib/names.bas\"\n" // 3
                     "\n" // 4
                     "Total = 10 : count = 0\n" // 5
                     "Again:\n" // 6
                     "GOSUB Show\n" // 7
                     "END\n" // 8
                     "Show:\n" // 9
                     "  PRINT Total / count\n" // 10
                     "RETURN\n"; // 11

const char kInclude[] = "' names\n" // 1
                        "CHAR Greeting[12]\n" // 2
                        "FLOAT ratio\n" // 3
                        "#define NOTHING 0\n"; // 4

class LineMap : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("velc-map-" + std::to_string(getpid()));
        fs::remove_all(m_dir);
        WriteFile(m_dir / "prog.bas", kMain);
        WriteFile(m_dir / "lib/names.bas", kInclude);
    }
    void TearDown() override
    {
        fs::remove_all(m_dir);
    }
    std::string Compile()
    {
        std::ostringstream out;
        CCompiler compiler(out);
        compiler.Compile((m_dir / "prog.bas").string());
        return out.str();
    }
    DebugMap Map()
    {
        DebugMap map;
        std::string error;
        EXPECT_TRUE(velmo::lang::ParseDebugMap(ReadFile(m_dir / "prog.map"), map, error)) << error;
        return map;
    }
    fs::path m_dir;
};

struct ImageLine {
    int imageLine;
    const char *file;
    int sourceLine;
};

// Comment lines, blank lines, directives and label lines give no image line.
const ImageLine kLines[] = {
    {1, "prog.bas", 2}, {2, "lib/names.bas", 2}, {3, "lib/names.bas", 3}, {4, "prog.bas", 5},
    {5, "prog.bas", 7}, {6, "prog.bas", 8},      {7, "prog.bas", 10},     {8, "prog.bas", 11},
};

TEST_F(LineMap, EveryImageLineHasItsSourcePlace)
{
    ASSERT_NE(Compile().find("0 - Error(s)."), std::string::npos);
    const DebugMap map = Map();
    ASSERT_EQ(map.lines.size(), std::size(kLines));
    for (const ImageLine &want : kLines) {
        const velmo::lang::MapLine *line = map.LineOf(want.imageLine);
        ASSERT_NE(line, nullptr) << want.imageLine;
        EXPECT_EQ(map.files.at(static_cast<size_t>(line->file)), want.file) << want.imageLine;
        EXPECT_EQ(line->sourceLine, want.sourceLine) << want.imageLine;
    }
}

TEST_F(LineMap, VariablesKeepTheirNamesAsWrittenInDeclarationOrder)
{
    Compile();
    const DebugMap map = Map();
    const std::string want[][4] = {{"a", "integer", "0", "Total"},
                                   {"b", "integer", "0", "count"},
                                   {"c", "char", "12", "Greeting"},
                                   {"d", "float", "0", "ratio"}};
    ASSERT_EQ(map.variables.size(), std::size(want));
    for (size_t i = 0; i < std::size(want); ++i) {
        EXPECT_EQ(map.variables[i].shortName, want[i][0]);
        EXPECT_EQ(map.variables[i].type, want[i][1]);
        EXPECT_EQ(std::to_string(map.variables[i].length), want[i][2]);
        EXPECT_EQ(map.variables[i].name, want[i][3]);
    }
}

TEST_F(LineMap, LabelsMarkTheLineAfterThem)
{
    Compile();
    const DebugMap map = Map();
    ASSERT_EQ(map.labels.size(), 2u);
    EXPECT_EQ(map.labels[0].name, "AGAIN");
    EXPECT_EQ(map.labels[0].imageLine, 5);
    EXPECT_EQ(map.labels[1].name, "SHOW");
    EXPECT_EQ(map.labels[1].imageLine, 7);
}

TEST_F(LineMap, ImageAndListingAreTheSameWithTheMap)
{
    Compile();
    const std::string hex = ReadFile(m_dir / "prog.hex");
    const std::string listing = ReadFile(m_dir / "prog.lst");
    EXPECT_NE(listing.find("   7  "), std::string::npos);
    EXPECT_EQ(listing.find(".map"), std::string::npos);
    fs::remove(m_dir / "prog.map");
    Compile();
    EXPECT_EQ(ReadFile(m_dir / "prog.hex"), hex);
    EXPECT_EQ(ReadFile(m_dir / "prog.lst"), listing);
}

struct BlockedOutput {
    const char *name;
    const char *blocked; // a folder where this output should go
};

const BlockedOutput kBlocked[] = {{"Hex", "prog.hex"}, {"Listing", "prog.lst"}, {"Map", "prog.map"}};

class AllOrNothing : public LineMap, public testing::WithParamInterface<BlockedOutput> { };

TEST_P(AllOrNothing, OneOutputThatCannotBeWrittenTakesTheOthersWithIt)
{
    for (const char *name : {"prog.hex", "prog.lst", "prog.map"})
        WriteFile(m_dir / name, "of another build\n");
    fs::remove(m_dir / GetParam().blocked);
    fs::create_directory(m_dir / GetParam().blocked);
    const std::string out = Compile();
    EXPECT_NE(out.find("Can't write file: '" + (m_dir / GetParam().blocked).string() + "'."), std::string::npos) << out;
    for (const char *name : {"prog.hex", "prog.lst", "prog.map"}) {
        if (std::string(name) != GetParam().blocked) {
            EXPECT_FALSE(fs::exists(m_dir / name)) << name;
        }
    }
    for (const auto &entry : fs::directory_iterator(m_dir))
        EXPECT_NE(entry.path().filename().string().rfind(".velc-", 0), 0u) << "temporary file left";
}

INSTANTIATE_TEST_SUITE_P(Outputs, AllOrNothing, testing::ValuesIn(kBlocked),
                         [](const testing::TestParamInfo<BlockedOutput> &info) { return info.param.name; });

} // namespace
