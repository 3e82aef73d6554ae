#include "TextLines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char *text;
    QStringList lines;
};

TEST(TextLines, SplitsOnEveryKindOfLineEnd)
{
    const SplitCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\nb\n", {"a", "", "b"}},
        // The compiler's closing lines end with an empty line.
        {"Build finished.\n1 - Error(s).\n\n", {"Build finished.", "1 - Error(s).", ""}},
        {"\n", {""}},
        {"a\r\r\nb", {"a", "", "b"}},
    };
    for (const SplitCase &c : cases)
        EXPECT_EQ(SplitLines(QString::fromLatin1(c.text)), c.lines) << c.text;
}

TEST(TextLines, DecodesUtf8AndFallsBackToWindows1252)
{
    EXPECT_EQ(DecodeText(QByteArray("caf\xc3\xa9")), QStringLiteral("café"));
    EXPECT_EQ(DecodeText(QByteArray("caf\xe9")), QStringLiteral("café"));
    EXPECT_EQ(DecodeText(QByteArray("\x80 \x9f \xa0")), QStringLiteral("€ Ÿ \u00a0"));
    EXPECT_EQ(DecodeText(QByteArray("plain")), QStringLiteral("plain"));
    EXPECT_EQ(DecodeText(QByteArray("\xEF\xBB\xBF"
                                    "first line")),
              QStringLiteral("first line"));
}

TEST(TextLines, ReadTextLinesReportsAMissingFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QStringList lines;
    QString error;
    EXPECT_FALSE(ReadTextLines(dir.filePath("missing.bas"), lines, error));
    EXPECT_TRUE(error.contains("missing.bas")) << error.toStdString();

    QFile file(dir.filePath("ok.bas"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("10 PRINT\r\n20 END\r\n");
    file.close();
    EXPECT_TRUE(ReadTextLines(file.fileName(), lines, error));
    EXPECT_EQ(lines, QStringList({"10 PRINT", "20 END"}));
}

} // namespace
