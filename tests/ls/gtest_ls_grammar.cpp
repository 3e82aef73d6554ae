// The TextMate grammar for other editors names every keyword of the
// compiler's table under the scope of its class, and parses as JSON.
#include "lang/Keywords.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>

namespace {

using velmo::lang::WordClass;
using Json = nlohmann::json;

const std::string kEditors = std::string(VELMO_TEST_DATA) + "/../../../packaging/editors/";

Json ReadJson(const std::string &name)
{
    std::ifstream file(kEditors + name);
    return Json::parse(file, nullptr, false);
}

// The grammar's repository entry that colours each class of keyword.
const std::map<WordClass, std::string> kEntryOfClass = {
    {WordClass::Type, "type"},           {WordClass::Keyword, "control"}, {WordClass::Command, "command"},
    {WordClass::Function, "function"},   {WordClass::Format, "function"}, {WordClass::Variable, "system"},
    {WordClass::Constant, "system"},     {WordClass::FileMode, "system"}, {WordClass::Operator, "operator"},
    {WordClass::Directive, "directive"},
};

// The words of the "\b(?i:A|B|C)\b" alternations in a grammar entry.
std::set<std::string> WordsOf(const Json &entry)
{
    std::set<std::string> words;
    const std::string text = entry.dump();
    for (size_t at = text.find("(?i:"); at != std::string::npos; at = text.find("(?i:", at + 1)) {
        const size_t end = text.find(')', at);
        std::string word;
        for (size_t i = at + 4; i <= end; ++i) {
            if (text[i] == '|' || text[i] == ')') {
                for (char &c : word)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                words.insert(word);
                word.clear();
            } else {
                word += text[i];
            }
        }
    }
    return words;
}

TEST(EditorGrammar, EveryKeywordUnderTheScopeOfItsClass)
{
    const Json grammar = ReadJson("velmo.tmLanguage.json");
    ASSERT_FALSE(grammar.is_discarded());
    EXPECT_EQ(grammar["scopeName"], "source.velmo");
    std::string missing;
    for (const velmo::lang::KeywordInfo &keyword : velmo::lang::CKeywords::Instance().All()) {
        const std::string entry = kEntryOfClass.at(keyword.wordClass);
        std::string name = keyword.name[0] == '#' ? keyword.name + 1 : keyword.name;
        if (!WordsOf(grammar["repository"][entry]).count(name))
            missing += name + " (" + entry + ") ";
    }
    EXPECT_EQ(missing, "");
}

TEST(EditorGrammar, LanguageConfigurationUsesTheCommentCharacter)
{
    const Json configuration = ReadJson("language-configuration.json");
    ASSERT_FALSE(configuration.is_discarded());
    EXPECT_EQ(configuration["comments"]["lineComment"], "'");
}

} // namespace
