// From the module's runtime error line to the user's source line: the lines
// that are error reports, their assembly from received chunks, and the line
// map beside the image.

#include "../support/TestFiles.h"
#include "RuntimeErrorPlace.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(RuntimeErrorImageLine, OnlyTheModulesErrorLines)
{
    const struct {
        const char *text;
        int line;
    } cases[] = {
        {"Error: Division by zero in line 5.", 5},
        {"Error: Index out of range in line 12.\r", 12},
        {"  Error: RETURN without GOSUB in line 3.  ", 3},
        {"Error: Division by zero in line 5", 0}, // no full stop
        {"error: Division by zero in line 5.", 0},
        {"Error: in line 5.", 0}, // no error text
        {"Result: 5 in line 5.", 0},
        {"Error: Division by zero in line 0.", 0},
        {"Error: Division by zero in line 12345678901.", 0}, // more digits than a line number has
        {"Error: Division by zero in line 5. and more", 0},
        {"", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RuntimeErrorImageLine(QString::fromLatin1(c.text)), c.line) << c.text;
}

TEST(RuntimeErrorWatch, FindsErrorLinesAcrossChunks)
{
    const QByteArray stream = "Hello\r\nError: Division by zero in line 7.\r\nnext\nError: Out of DATA in line 9.\n";
    for (const int chunk : {1, 3, 17, 1000}) {
        TRuntimeErrorWatch watch;
        QList<int> lines;
        for (qsizetype at = 0; at < stream.size(); at += chunk)
            lines += watch.Feed(stream.mid(at, chunk));
        EXPECT_EQ(lines, (QList<int>{7, 9})) << "chunk " << chunk;
    }
}

TEST(RuntimeErrorWatch, AnOverlongLineIsNoErrorLine)
{
    TRuntimeErrorWatch watch;
    const QByteArray longTail(TRuntimeErrorWatch::kMaxLine, 'x');
    EXPECT_TRUE(watch.Feed("Error: Division by zero in line 7." + longTail + "\r\n").isEmpty());
    EXPECT_TRUE(watch.Feed(longTail + "Error: Division by zero in line 7.\r\n").isEmpty());
    EXPECT_EQ(watch.Feed("Error: Division by zero in line 7.\r\n"), QList<int>{7});
    EXPECT_TRUE(watch.Feed("Error: Division by zero in line 8.").isEmpty()); // not ended yet
}

class SourcePlace : public testing::Test {
protected:
    QString Image(const QByteArray &map)
    {
        QDir(m_dir.path()).mkpath("prog");
        if (!map.isNull())
            WriteTestFile(m_dir.filePath("prog/main.map"), map);
        return m_dir.filePath("prog/main.hex");
    }
    QTemporaryDir m_dir;
};

const QByteArray kMap = "VELMO-MAP 1\n"
                        "file 0 main.bas\n"
                        "file 1 lib/part.bas\n"
                        "line 1 0 3\n"
                        "line 2 1 4\n";

TEST_F(SourcePlace, MapsImageLinesToTheirFiles)
{
    const QString image = Image(kMap);
    const auto main = SourcePlaceOf(image, 1);
    ASSERT_TRUE(main.has_value());
    EXPECT_EQ(main->file, QDir::cleanPath(m_dir.filePath("prog/main.bas")));
    EXPECT_EQ(main->line, 3);
    const auto part = SourcePlaceOf(image, 2);
    ASSERT_TRUE(part.has_value());
    EXPECT_EQ(part->file, QDir::cleanPath(m_dir.filePath("prog/lib/part.bas")));
    EXPECT_EQ(part->line, 4);
}

TEST_F(SourcePlace, NothingWithoutAUsableMap)
{
    const struct {
        const char *name;
        QByteArray map; // null: no map file
        int imageLine;
    } cases[] = {
        {"no map", QByteArray(), 1},
        {"no such line", kMap, 3},
        {"line 0", kMap, 0},
        {"not a map", "hello\n", 1},
        {"newer version", "VELMO-MAP 99\nfile 0 main.bas\nline 1 0 3\n", 1},
        {"file index out of range", "VELMO-MAP 1\nfile 0 main.bas\nline 1 4 3\n", 1},
    };
    for (const auto &c : cases) {
        QFile::remove(m_dir.filePath("prog/main.map"));
        EXPECT_FALSE(SourcePlaceOf(Image(c.map), c.imageLine).has_value()) << c.name;
    }
}

} // namespace
