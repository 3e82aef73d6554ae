#include "LineStyle.h"

#include <gtest/gtest.h>

namespace {

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
