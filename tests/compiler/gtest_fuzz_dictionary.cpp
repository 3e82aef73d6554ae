// The fuzzers' dictionary tests/fuzz/velmo.dict holds every word of the
// keyword table, the directive words and the operators of two characters.
// It is checked in so that a fuzz run needs no build step of its own; this
// test keeps it in step with the table. After a change of the table, run
// the test with VELMO_UPDATE_DICTIONARY=1 to write the file anew.
#include "LanguageNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kDictionary = fs::path(VELMO_TEST_DATA) / ".." / ".." / "fuzz" / "velmo.dict";

std::string DictionaryText()
{
    std::string text = "# Velmo keywords and operators for the fuzzers; written by gtest_fuzz_dictionary\n"
                       "# from the compiler's keyword table (VELMO_UPDATE_DICTIONARY=1).\n";
    for (int symbol = 0; symbol < symCount; ++symbol) {
        if (const KeywordInfo *info = CKeywords::Instance().Info(symbol))
            text += std::string("\"") + info->name + "\"\n";
    }
    for (const char *op : {"<>", "<=", ">=", "<<", ">>", "..", "\\x22", "'", "$", "%", "\\x0A=====\\x0A"})
        text += std::string("\"") + op + "\"\n";
    return text;
}

TEST(FuzzDictionary, HoldsEveryKeywordOfTheTable)
{
    const std::string want = DictionaryText();
    if (std::getenv("VELMO_UPDATE_DICTIONARY"))
        std::ofstream(kDictionary, std::ios::binary) << want;
    std::ifstream file(kDictionary, std::ios::binary);
    std::ostringstream have;
    have << file.rdbuf();
    EXPECT_EQ(have.str(), want) << "run with VELMO_UPDATE_DICTIONARY=1 to write " << kDictionary;
    EXPECT_NE(want.find("\"#INCLUDE\"\n"), std::string::npos);
    EXPECT_NE(want.find("\"PRINT\"\n"), std::string::npos);
}

} // namespace
