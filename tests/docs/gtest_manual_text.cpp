// The built manual (bin/Help/Velmo.txt, the text of bin/Help/Velmo.pdf)
// covers the language and the workbench: every keyword of the language's
// table, the syntax line of every row of the argument syntax table, every
// word of the completion list, every key of the command table and every
// runtime error of the simulated module appears in it, and the PDF holds the
// same words and every picture of the chapters. A picture that cannot be
// read stops the manual's build.
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

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

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

// The manual's source as the generator expands it.
void ExpandSource(TExpandedManual &manual)
{
    QList<TChapterFile> chapters;
    QString error;
    ASSERT_TRUE(ReadChapters(kChapters, chapters, error)) << error.toStdString();
    QStringList errors;
    ASSERT_TRUE(ExpandManual(chapters, manual, errors)) << errors.join(u'\n').toStdString();
}

TEST(ManualText, DescribesEveryKeywordInAnEntry)
{
    TExpandedManual manual;
    ASSERT_NO_FATAL_FAILURE(ExpandSource(manual));
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

// What a shell command writes on standard output, and its exit status
// (-1 when it cannot be run).
int RunCommand(const QString &command, QString &output)
{
    std::string text;
    FILE *pipe = popen(command.toLocal8Bit().constData(), "r");
    if (!pipe)
        return -1;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, n);
    output = QString::fromStdString(text);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The PDF's text as pdftotext reads it (it comes with the bootstrap's
// packages), pages ended by form feeds; empty when it cannot be read.
QString PdfText()
{
    QString text;
    return RunCommand(QStringLiteral("pdftotext '%1' - 2>/dev/null").arg(HelpFile("Velmo.pdf")), text) == 0 ? text
                                                                                                            : QString();
}

// Letters the PDF's fonts join (fi, fl) as plain letters, and every run of
// white space as one blank.
QString Plain(QString text)
{
    static const QList<std::pair<QString, QString>> kLigatures = {{QStringLiteral("\uFB00"), QStringLiteral("ff")},
                                                                  {QStringLiteral("\uFB01"), QStringLiteral("fi")},
                                                                  {QStringLiteral("\uFB02"), QStringLiteral("fl")},
                                                                  {QStringLiteral("\uFB03"), QStringLiteral("ffi")},
                                                                  {QStringLiteral("\uFB04"), QStringLiteral("ffl")}};
    for (const auto &[ligature, letters] : kLigatures)
        text.replace(ligature, letters);
    return text.simplified();
}

// The pages of the manual's text proper: from the page that begins with the
// first chapter's heading, each without its running head (the chapter and
// the manual's title), which would otherwise stand in for a lost heading;
// one line of plain text each, between line feeds.
QString BodyText(const QString &pdfText, const QString &firstHeading)
{
    QStringList body;
    for (const QString &page : pdfText.split(u'\f')) {
        QStringList lines = page.split(u'\n', Qt::SkipEmptyParts);
        if (lines.size() > 1 && lines[1] == QStringLiteral("Velmo Programming Manual"))
            lines = lines.mid(2);
        if (body.isEmpty() && (lines.isEmpty() || lines.first() != firstHeading))
            continue;
        for (const QString &line : lines)
            body << Plain(line);
    }
    return body.isEmpty() ? QString() : u'\n' + body.join(u'\n') + u'\n';
}

TEST(ManualText, ThePdfHoldsEveryKeyword)
{
    const QString text = PdfText();
    ASSERT_FALSE(text.isEmpty()) << "pdftotext cannot read " << HelpFile("Velmo.pdf").toStdString()
                                 << " (tools/bootstrap.sh installs it)";
    EXPECT_EQ(MissingWords(text, CompilerKeywords()).join(u' ').toStdString(), "");
    EXPECT_TRUE(text.contains(QStringLiteral("Velmo Programming Manual")));
}

// The lines that the text does not hold as whole lines, each after the one
// before it.
QStringList LinesMissingInOrder(const QString &text, const QStringList &lines)
{
    QStringList missing;
    qsizetype from = 0;
    for (const QString &line : lines) {
        const qsizetype at = text.indexOf(u'\n' + line + u'\n', from);
        if (at < 0)
            missing << line;
        else
            from = at + 1;
    }
    return missing;
}

// A heading whose page lost its text (the contents still list it) shows here.
TEST(ManualText, ThePdfShowsEveryHeadingOfTheSourceInOrder)
{
    TExpandedManual manual;
    ASSERT_NO_FATAL_FAILURE(ExpandSource(manual));
    ASSERT_GT(manual.headings.size(), 100);
    const QString text = PdfText();
    ASSERT_FALSE(text.isEmpty()) << "pdftotext cannot read " << HelpFile("Velmo.pdf").toStdString()
                                 << " (tools/bootstrap.sh installs it)";
    const QString body = BodyText(text, manual.headings.first().text);
    ASSERT_FALSE(body.isEmpty()) << "no page begins with " << manual.headings.first().text.toStdString();
    QStringList lines;
    for (const THeading &heading : manual.headings)
        lines << Plain(heading.text);
    EXPECT_EQ(LinesMissingInOrder(body, lines).join(u'\n').toStdString(), "");
}

// Each picture of the source is in the PDF with all of its pixels, without
// lossy compression, after the title page's logo, in the order of the text.
TEST(ManualText, ThePdfHoldsEveryPictureWhole)
{
    TExpandedManual manual;
    ASSERT_NO_FATAL_FAILURE(ExpandSource(manual));
    ASSERT_GE(manual.figures.size(), 2);
    QStringList expected;
    for (const TFigure &figure : manual.figures)
        expected << QStringLiteral("%1x%2 image").arg(figure.image.width()).arg(figure.image.height());
    QString list;
    ASSERT_EQ(RunCommand(QStringLiteral("pdfimages -list '%1' 2>&1").arg(HelpFile("Velmo.pdf")), list), 0)
        << "pdfimages (poppler-utils, tools/bootstrap.sh installs it): " << list.toStdString();
    QStringList images;
    // page num type width height color comp bpc enc ...
    for (const QString &line : list.split(u'\n')) {
        const QStringList columns = line.simplified().split(u' ');
        if (columns.size() > 8 && columns[2] == QLatin1String("image") && columns[0] != QLatin1String("1"))
            images << columns[3] + u'x' + columns[4] + u' ' + columns[8];
    }
    EXPECT_EQ(images.join(u'|').toStdString(), expected.join(u'|').toStdString());
}

TEST(ManualText, HoldsTheCaptionOfEveryPictureInOrder)
{
    TExpandedManual manual;
    ASSERT_NO_FATAL_FAILURE(ExpandSource(manual));
    QStringList lines;
    for (const TFigure &figure : manual.figures)
        lines << u'[' + figure.caption + u']';
    EXPECT_EQ(LinesMissingInOrder(ReadText(HelpFile("Velmo.txt")), lines).join(u'\n').toStdString(), "");
}

// velmo_manual on a chapter whose picture is missing: the error names the
// chapter's file and line, the program ends with 1 and writes no manual.
TEST(ManualText, AMissingPictureStopsTheBuild)
{
    QTemporaryDir dir;
    QFile chapter(dir.filePath(QStringLiteral("01-a.md")));
    ASSERT_TRUE(chapter.open(QIODevice::WriteOnly));
    chapter.write("# A\n\nText.\n\n![Gone](images/gone.png)\n");
    chapter.close();
    const QString generator = HelpFile("../../tools/velmo_manual");
    ASSERT_TRUE(QFile::exists(generator)) << generator.toStdString();
    const QString pdf = dir.filePath(QStringLiteral("m.pdf"));
    QString output;
    const int status = RunCommand(
        QStringLiteral("QT_QPA_PLATFORM=offscreen '%1' '%2' '%3' 2>&1").arg(generator, dir.path(), pdf), output);
    EXPECT_EQ(status, 1) << output.toStdString();
    EXPECT_TRUE(output.contains(chapter.fileName() + QStringLiteral("(5): can't read the image 'images/gone.png'")))
        << output.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
