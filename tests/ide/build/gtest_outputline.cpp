#include "OutputLine.h"

#include <gtest/gtest.h>

namespace {

struct JumpCase {
    const char *line;
    TJumpTarget::Kind kind;
    const char *fileName;
    int lineNumber;
};

class JumpTargetTest : public testing::TestWithParam<JumpCase> { };

TEST_P(JumpTargetTest, ParsesFileAndLine)
{
    const JumpCase &c = GetParam();
    const TJumpTarget target = ParseJumpTarget(QString::fromUtf8(c.line));
    EXPECT_EQ(target.kind, c.kind);
    if (c.kind != TJumpTarget::NoLocation) {
        EXPECT_EQ(target.fileName.toStdString(), c.fileName);
    }
    if (c.kind == TJumpTarget::Location) {
        EXPECT_EQ(target.line, c.lineNumber);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, JumpTargetTest,
    testing::Values(JumpCase{"/home/ann/prog.bas(12): Syntax error.", TJumpTarget::Location, "/home/ann/prog.bas", 12},
                    JumpCase{"/p/a.bas(1):", TJumpTarget::Location, "/p/a.bas", 1},
                    // A find result keeps its padded text after "): ".
                    JumpCase{"/p/a.bas(7):   x = (1): y  ", TJumpTarget::Location, "/p/a.bas", 7},
                    JumpCase{"/p/äöü/b.inc(3): Label not found.", TJumpTarget::Location, "/p/äöü/b.inc", 3},
                    JumpCase{"  >> /home/ann/prog.bas", TJumpTarget::NoLocation, "", 0},
                    JumpCase{"Compiling...", TJumpTarget::NoLocation, "", 0},
                    JumpCase{"Can't open file: '/x/y.bas'.", TJumpTarget::NoLocation, "", 0},
                    JumpCase{"open ( only", TJumpTarget::NoLocation, "", 0},
                    JumpCase{"close only):", TJumpTarget::NoLocation, "", 0},
                    // The first "(" belongs to the folder name: the line text is no number.
                    JumpCase{"/p/old (2)/a.bas(5): Syntax error.", TJumpTarget::BadNumber, "/p/old ", 0},
                    JumpCase{"/p/a.bas(x): text", TJumpTarget::BadNumber, "/p/a.bas", 0},
                    JumpCase{"/p/a.bas(): text", TJumpTarget::BadNumber, "/p/a.bas", 0},
                    JumpCase{"/p/a.bas( 5): text", TJumpTarget::BadNumber, "/p/a.bas", 0},
                    // "):" before the first "(" leaves no line text at all.
                    JumpCase{"a): b(c", TJumpTarget::BadNumber, "a): b", 0}));

TEST(JumpTarget, BadNumberKeepsTheLineTextForTheMessage)
{
    EXPECT_EQ(ParseJumpTarget(QStringLiteral("/p/old (2)/a.bas(5): Syntax error.")).lineText,
              QStringLiteral("2)/a.bas(5"));
}

struct StyleCase {
    const char *line;
    bool selected;
    QColor background; // invalid: the list's own
    QColor text; // invalid: the list's own
    int indent;
};

const QColor kOwn;
const QColor kRed(255, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kGrey(120, 120, 120);
const QColor kBlue(10, 10, 160);
const QColor kBlack(0, 0, 0);

void ExpectStyle(const TLineStyle &style, const StyleCase &c)
{
    EXPECT_EQ(style.background, c.background) << c.line << " selected=" << c.selected;
    EXPECT_EQ(style.text, c.text) << c.line << " selected=" << c.selected;
    EXPECT_EQ(style.indent, c.indent) << c.line << " selected=" << c.selected;
}

TEST(LineStyle, BuildList)
{
    const StyleCase cases[] = {
        {"/p/a.bas(5): Syntax error.", false, kOwn, kRed, 2},
        {"/p/a.bas(5): Syntax error.", true, kRed, kWhite, 2},
        {"  >> /p/a.bas", false, kOwn, kOwn, 2},
        {"  >> /p/a.bas", true, kGrey, kWhite, 2},
        {"Build finished.", false, kOwn, kBlue, 2},
        {"Build finished.", true, kGrey, kWhite, 2},
        {"", false, kOwn, kBlue, 2},
        // "):" wins over ">>".
        {"  >> x(1): y", false, kOwn, kRed, 2},
    };
    for (const StyleCase &c : cases)
        ExpectStyle(BuildLineStyle(QString::fromUtf8(c.line), c.selected), c);
}

TEST(LineStyle, FindList)
{
    const StyleCase cases[] = {
        {"/p/a.bas(5):   x = 1  ", false, kOwn, kBlack, 20},
        {"/p/a.bas(5):   x = 1  ", true, kGrey, kWhite, 20},
        {"Search in open files...", false, kOwn, kBlue, 2},
        {"completed.", true, kGrey, kWhite, 2},
    };
    for (const StyleCase &c : cases)
        ExpectStyle(FindLineStyle(QString::fromUtf8(c.line), c.selected), c);
}

} // namespace
