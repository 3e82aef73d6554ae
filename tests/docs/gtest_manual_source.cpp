// Expanding the manual's source: entries print their syntax from the
// compiler's tables and their hints from the completion list, mistakes in the
// source are reported with file and line, chapters, sections, appendices and
// pictures are numbered, and a picture's image is read from the images
// folder beside the chapter.
#include "LanguageReference.h"
#include "ManualSource.h"

#include "../compiler/TestNames.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

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

// A chapter folder with the images "images/a.png" (40x30) and
// "images/broken.png" (no image).
class Figures : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("images")));
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        ASSERT_TRUE(image.save(m_dir.filePath(QStringLiteral("images/a.png"))));
        QFile broken(m_dir.filePath(QStringLiteral("images/broken.png")));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("not a picture");
    }

    TExpandedManual Expand(const char *text, QStringList &errors) const
    {
        TExpandedManual manual;
        ExpandManual({TChapterFile{m_dir.filePath(QStringLiteral("ch.md")), QString::fromUtf8(text)}}, manual, errors);
        return manual;
    }

    QTemporaryDir m_dir;
};

struct FigureCase {
    const char *what;
    const char *source;
    const char *captions; // the figures' captions, joined by "|"
    const char *markdown; // a part of the expanded Markdown
    friend void PrintTo(const FigureCase &c, std::ostream *os)
    {
        *os << c.what;
    }
};

const FigureCase kGoodFigures[] = {
    {"first of a chapter", "# A\n![The window](images/a.png)\n", "Figure 1.1: The window",
     "\n![Figure 1.1: The window](images/a.png)\n\n"},
    {"numbered in its chapter", "# A\n![One](images/a.png)\n# B\n![Two](images/a.png)\n![Three](images/a.png)\n",
     "Figure 1.1: One|Figure 2.1: Two|Figure 2.2: Three", "![Figure 2.2: Three](images/a.png)"},
    {"in an appendix", "# A\n{{appendices}}\n# Codes\n![Table](images/a.png)\n", "Figure A.1: Table",
     "![Figure A.1: Table](images/a.png)"},
    {"blanks around the parts", "# A\n![  Spaced out  ]( images/a.png )  \n", "Figure 1.1: Spaced out",
     "![Figure 1.1: Spaced out](images/a.png)"},
    {"after a paragraph line", "# A\nSee below:\n![Below](images/a.png)\n", "Figure 1.1: Below",
     "See below:\n\n![Figure 1.1: Below]"},
    {"inside a block it is text", "# A\n```text\n![No](images/missing.png)\n```\n", "",
     "```text\n![No](images/missing.png)\n```"},
};

class GoodFigures : public Figures, public testing::WithParamInterface<FigureCase> { };

TEST_P(GoodFigures, AreNumberedAndRead)
{
    QStringList errors;
    const TExpandedManual manual = Expand(GetParam().source, errors);
    ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    QStringList captions;
    for (const TFigure &figure : manual.figures) {
        captions << figure.caption;
        EXPECT_EQ(figure.path.toStdString(), "images/a.png");
        EXPECT_EQ(figure.image.size(), QSize(40, 30));
    }
    EXPECT_EQ(captions.join(u'|').toStdString(), GetParam().captions);
    EXPECT_TRUE(manual.markdown.contains(QString::fromUtf8(GetParam().markdown))) << manual.markdown.toStdString();
}

INSTANTIATE_TEST_SUITE_P(ManualSource, GoodFigures, testing::ValuesIn(kGoodFigures),
                         [](const testing::TestParamInfo<FigureCase> &info) {
                             return StableTestName(info.param.what, info.index);
                         });

const SourceError kBadFigures[] = {
    {"no closing parenthesis", "# A\n![Window](images/a.png\n", "ch.md(2): a picture is written"},
    {"text after it", "# A\n\n![Window](images/a.png) and more\n", "ch.md(3): a picture is written"},
    {"no caption", "# A\n![ ](images/a.png)\n", "ch.md(2): the picture 'images/a.png' has no caption"},
    {"not in the images folder", "# A\n![Window](a.png)\n", "ch.md(2): a picture is a PNG file in the images folder"},
    {"out of the images folder", "# A\n![Window](images/../a.png)\n", "not 'images/../a.png'"},
    {"not a PNG file", "# A\n![Window](images/a.jpg)\n", "not 'images/a.jpg'"},
    {"missing image", "# A\n![Window](images/missing.png)\n", "ch.md(2): can't read the image 'images/missing.png'"},
    {"unreadable image", "# A\n\n\n![Window](images/broken.png)\n",
     "ch.md(4): can't read the image 'images/broken.png'"},
};

class BadFigures : public Figures, public testing::WithParamInterface<SourceError> { };

TEST_P(BadFigures, AreReportedWithTheirPlace)
{
    QStringList errors;
    const TExpandedManual manual = Expand(GetParam().source, errors);
    ASSERT_EQ(errors.size(), 1) << errors.join(u'\n').toStdString();
    EXPECT_TRUE(errors[0].contains(QString::fromUtf8(GetParam().message))) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].startsWith(m_dir.filePath(QStringLiteral("ch.md(")))) << errors[0].toStdString();
    EXPECT_TRUE(manual.figures.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(ManualSource, BadFigures, testing::ValuesIn(kBadFigures),
                         [](const testing::TestParamInfo<SourceError> &info) {
                             return StableTestName(info.param.what, info.index);
                         });

} // namespace
