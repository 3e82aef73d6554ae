// Expanding the manual's source: entries print their syntax from the
// compiler's tables and their hints from the completion list, mistakes in the
// source are reported with file and line, and chapters, sections and
// appendices are numbered.
#include "LanguageReference.h"
#include "ManualSource.h"

#include "../compiler/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

TExpandedManual Expand(const char *text, QStringList &errors)
{
    TExpandedManual manual;
    ExpandManual({TChapterFile{QStringLiteral("ch.md"), QString::fromUtf8(text)}}, manual, errors);
    return manual;
}

struct SourceError {
    const char *what;
    const char *source;
    const char *message; // a part of the one error
    friend void PrintTo(const SourceError &c, std::ostream *os)
    {
        *os << c.what;
    }
};

const SourceError kErrors[] = {
    {"no keyword", "# A\n{{entry PRINTX}}\n", "ch.md(2): 'PRINTX' is not a keyword"},
    {"syntax where the table has it", "# A\n\n{{entry PUT}}\n```syntax\nPUT x\n```\n",
     "ch.md(3): the syntax of PUT is printed from the compiler's tables"},
    {"no syntax where the table has none", "# A\n{{entry FOR, NEXT}}\n", "ch.md(2): FOR, NEXT needs a syntax block"},
    {"empty entry", "{{entry }}\n", "an entry names no keyword"},
    {"unknown table", "{{table colours}}\n", "ch.md(1): no generated table is called 'colours'"},
    {"unknown directive", "{{index}}\n", "unknown directive 'index'"},
    {"level-3 heading", "# A\n### Mine\n", "ch.md(2): \"###\" headings are the reference entries'"},
    {"open block", "# A\n```velmo\nEND\n", "a ``` block is not closed"},
};

class Errors : public testing::TestWithParam<SourceError> { };

TEST_P(Errors, AreReportedWithTheirPlace)
{
    QStringList errors;
    Expand(GetParam().source, errors);
    ASSERT_EQ(errors.size(), 1) << errors.join(u'\n').toStdString();
    EXPECT_TRUE(errors[0].contains(QString::fromUtf8(GetParam().message))) << errors[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(ManualSource, Errors, testing::ValuesIn(kErrors),
                         [](const testing::TestParamInfo<SourceError> &info) {
                             return StableTestName(info.param.what, info.index);
                         });

struct EntryPart {
    const char *what;
    const char *entry;
    const char *part; // a part of the expanded Markdown
    friend void PrintTo(const EntryPart &c, std::ostream *os)
    {
        *os << c.what;
    }
};

const EntryPart kEntries[] = {
    {"syntax from the table", "{{entry PUT}}", "<code>PUT [#device,] expression [, expression]</code>"},
    {"optional device without comma", "{{entry CLOSE}}", "<code>CLOSE [#device]</code>"},
    {"repeated part", "{{entry SETSYMBOL}}", "<code>SETSYMBOL expression [, expression] ...</code>"},
    {"empty middle argument", "{{entry I2CIN}}",
     "<code>I2CIN expression, [expression], variable [, variable] ...</code>"},
    {"statement without arguments", "{{entry CLS}}", "<code>CLS</code>"},
    {"completion hint as listed", "{{entry PUT}}", "<code>put #device,expr|var{,count}</code>"},
    {"token code", "{{entry PRINT}}\n```syntax\nPRINT\n```", "$AA"},
    {"display sub-code", "{{entry CIRCLE}}", "$AD and the sub-code 4"},
    {"function", "{{entry POS}}", "<code>POS(string-variable, \"text\" [, expression])</code>"},
    {"read-only system variable", "{{entry ADC0}}", "<code>ADCn</code>"},
    {"writable system variable with suffix", "{{entry TIME}}",
     "<code>TIME [.HOUR | .MINUTE | .SECOND] = expression</code>"},
    {"port bits", "{{entry PORT0}}", "<code>PORTn [.bit] = expression</code>"},
    {"family names", "{{entry TIMER0}}", "TIMER0, TIMER1, TIMER2, TIMER3"},
    {"family heading", "{{entry STEPPER2}}", "### STEPPER0 … STEPPER3"},
    {"directive", "{{entry #INCLUDE}}\n```syntax\n#INCLUDE \"name\"\n```", "none: a directive"},
    {"operator", "{{entry MOD}}\n```syntax\na MOD b\n```", "none: not written into the image"},
    {"written syntax", "{{entry GOTO}}\n```syntax\nGOTO label\n```", "<code>GOTO label</code>"},
    {"generated table", "{{table options}}", "| `LCD_OLED128X64` | 6 |"},
    {"keys from the command table", "{{table keys}}", "| **F9** | Program > Compile | Compile |"},
};

class Entries : public testing::TestWithParam<EntryPart> { };

TEST_P(Entries, PrintFromTheTables)
{
    QStringList errors;
    const TExpandedManual manual = Expand(GetParam().entry, errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_TRUE(manual.markdown.contains(QString::fromUtf8(GetParam().part))) << manual.markdown.toStdString();
}

INSTANTIATE_TEST_SUITE_P(ManualSource, Entries, testing::ValuesIn(kEntries),
                         [](const testing::TestParamInfo<EntryPart> &info) {
                             return StableTestName(info.param.what, info.index);
                         });

TEST(ManualSource, NumbersChaptersSectionsAndAppendices)
{
    QStringList errors;
    const TExpandedManual manual = Expand(
        "# One\n## A\n## B\n# Two\n## C\n{{entry CLS}}\n#### Not numbered\n{{appendices}}\n# Codes\n## D\n", errors);
    ASSERT_TRUE(errors.isEmpty());
    QStringList headings;
    for (const THeading &heading : manual.headings)
        headings << QString::number(heading.level) + u' ' + heading.text;
    EXPECT_EQ(headings.join(u'|').toStdString(),
              "1 1 One|2 1.1 A|2 1.2 B|1 2 Two|2 2.1 C|3 CLS|1 Appendix A: Codes|2 A.1 D");
    EXPECT_TRUE(manual.markdown.contains(QStringLiteral("#### Not numbered\n")));
    ASSERT_EQ(manual.entries.size(), 1);
    EXPECT_EQ(manual.entries[0], QStringList{QStringLiteral("CLS")});
}

TEST(ManualSource, DirectivesInsideABlockAreText)
{
    QStringList errors;
    const TExpandedManual manual = Expand("```text\n{{entry NOPE}}\n# not a chapter\n```\n", errors);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(manual.markdown.contains(QStringLiteral("{{entry NOPE}}\n# not a chapter\n")));
    EXPECT_TRUE(manual.headings.isEmpty());
}

TEST(ManualSource, AnEntryForOneMemberDescribesTheFamily)
{
    const QStringList missing = KeywordsWithoutEntry({{QStringLiteral("ADC5")}});
    EXPECT_FALSE(missing.contains(QStringLiteral("ADC0")));
    EXPECT_FALSE(missing.contains(QStringLiteral("ADC7")));
    EXPECT_TRUE(missing.contains(QStringLiteral("PWM0")));
    EXPECT_TRUE(missing.contains(QStringLiteral("#INCLUDE")));
}

} // namespace
