#include "../support/CaseNames.h"
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
                    JumpCase{"a): b(c", TJumpTarget::BadNumber, "a): b", 0}),
    NameByField(&JumpCase::line));

TEST(JumpTarget, BadNumberKeepsTheLineTextForTheMessage)
{
    EXPECT_EQ(ParseJumpTarget(QStringLiteral("/p/old (2)/a.bas(5): Syntax error.")).lineText,
              QStringLiteral("2)/a.bas(5"));
}

} // namespace
