// The built manual (bin/Help/Velmo.txt, the text of bin/Help/Velmo.pdf)
// covers the language and the workbench: every keyword of the language's
// table, the syntax line of every row of the argument syntax table, every
// word of the completion list, every key of the command table and every
// runtime error of the simulated module appears in it, and the PDF holds the
// same words.
#include "Commands.h"
#include "CompletionItems.h"
#include "LanguageReference.h"
#include "ManualSource.h"
#include "ModuleMessages.h"
#include "lang/Keywords.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

namespace {

const QString kChapters = QDir::cleanPath(QStringLiteral(VELMO_TEST_DATA "/../../../docs/manual"));

QString HelpFile(const char *name)
{
    const char *bin = std::getenv("VELMO_BIN_DIR");
    return QString::fromLocal8Bit(bin ? bin : ".") + QStringLiteral("/Help/") + QLatin1String(name);
}

QString ReadText(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Whether the text holds the word with no letter, digit or "_" on either side.
bool HoldsWord(const QString &text, const QString &word)
{
    const QRegularExpression re(QStringLiteral("(?<![A-Za-z0-9_])") + QRegularExpression::escape(word) +
                                QStringLiteral("(?![A-Za-z0-9_])"));
    return re.match(text).hasMatch();
}

QStringList MissingWords(const QString &text, const QStringList &words)
{
    QStringList missing;
    for (const QString &word : words) {
        if (!HoldsWord(text, word))
            missing << word;
    }
    return missing;
}

TEST(ManualText, HoldsEveryKeywordOfTheCompilersTable)
{
    const QString text = ReadText(HelpFile("Velmo.txt"));
    ASSERT_FALSE(text.isEmpty()) << "the manual's text is missing: " << HelpFile("Velmo.txt").toStdString();
    const QStringList keywords = CompilerKeywords();
    ASSERT_GE(keywords.size(), 176);
    EXPECT_EQ(MissingWords(text, keywords).join(u' ').toStdString(), "");
}

TEST(ManualText, DescribesEveryKeywordInAnEntry)
{
    QList<TChapterFile> chapters;
    QString error;
    ASSERT_TRUE(ReadChapters(kChapters, chapters, error)) << error.toStdString();
    TExpandedManual manual;
    QStringList errors;
    ASSERT_TRUE(ExpandManual(chapters, manual, errors)) << errors.join(u'\n').toStdString();
    EXPECT_EQ(KeywordsWithoutEntry(manual.entries).join(u' ').toStdString(), "");
}

// Every statement of the argument syntax table is printed with the syntax
// line the table gives it.
TEST(ManualText, HoldsTheSyntaxLineOfEveryRowOfTheSyntaxTable)
{
    const QString text = ReadText(HelpFile("Velmo.txt"));
    int rows = 0;
    QStringList missing;
    for (const velmo::lang::KeywordInfo &k : velmo::lang::CKeywords::Instance().All()) {
        const QString line = TableSyntax(QString::fromLatin1(k.name));
        if (line.isEmpty())
            continue;
        ++rows;
        if (!text.contains(line))
            missing << line;
    }
    EXPECT_GE(rows, 40);
    EXPECT_EQ(missing.join(QStringLiteral(" | ")).toStdString(), "");
}

TEST(ManualText, HoldsEveryWordAndHintOfTheCompletionList)
{
    const QString text = ReadText(HelpFile("Velmo.txt"));
    QStringList words;
    for (const TCompletionItem &item : CompletionItems()) {
        const QString hint = QString::fromLatin1(item.hint);
        words << QString::fromLatin1(item.insertText) + hint.left(hint.size() - (hint.endsWith(u' ') ? 1 : 0));
    }
    QStringList missing;
    for (const QString &word : words) {
        if (!text.contains(word))
            missing << word;
    }
    EXPECT_EQ(missing.join(QStringLiteral(" | ")).toStdString(), "");
}

TEST(ManualText, HoldsEveryRuntimeErrorOfTheSimulatedModule)
{
    const QString text = ReadText(HelpFile("Velmo.txt"));
    QStringList missing;
    for (const velsim::RunErrorEntry &entry : velsim::RunErrorTable()) {
        const QString line = QStringLiteral("Error: %1 in line n.").arg(QLatin1String(entry.text));
        if (!text.contains(line))
            missing << line;
    }
    EXPECT_EQ(missing.join(u' ').toStdString(), "");
}

TEST(ManualText, HoldsEveryKeyOfTheCommandTable)
{
    const QString text = ReadText(HelpFile("Velmo.txt"));
    QStringList keys;
    for (std::size_t i = 0; i < CommandCount; ++i) {
        if (CommandTable[i].shortcut && CommandTable[i].handler)
            keys << QString::fromLatin1(CommandTable[i].shortcut);
    }
    ASSERT_GE(keys.size(), 10);
    EXPECT_EQ(MissingWords(text, keys).join(u' ').toStdString(), "");
}

// pdftotext comes with the bootstrap's packages; the PDF must carry the text,
// not only the dump beside it.
TEST(ManualText, ThePdfHoldsEveryKeyword)
{
    if (std::system("pdftotext -v > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const std::string command = "pdftotext '" + HelpFile("Velmo.pdf").toStdString() + "' -";
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    ASSERT_EQ(pclose(pipe), 0);
    const QString text = QString::fromStdString(output);
    EXPECT_EQ(MissingWords(text, CompilerKeywords()).join(u' ').toStdString(), "");
    EXPECT_TRUE(text.contains(QStringLiteral("Velmo Programming Manual")));
}

} // namespace
