// The manual's Markdown subset: each construct becomes the HTML that
// QTextDocument reads (a picture's line an image with its caption), text is
// escaped, and inline marks pair up.
#include "MarkdownHtml.h"

#include "../compiler/TestNames.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct MarkdownCase {
    const char *what;
    const char *markdown;
    const char *html; // a part the HTML must hold
    friend void PrintTo(const MarkdownCase &c, std::ostream *os)
    {
        *os << c.what;
    }
};

const MarkdownCase kBlocks[] = {
    {"heading", "## Loops", "<h2>Loops</h2>"},
    {"fourth level", "#### Text", "<h4>Text</h4>"},
    {"paragraph joins its lines", "one\ntwo", "<p>one two</p>"},
    {"blank line ends a paragraph", "one\n\ntwo", "<p>one</p>\n<p>two</p>"},
    {"bullets", "- a\n- b", "<ul><li>a</li><li>b</li></ul>"},
    {"indented line continues an item", "- a\n  more\n- b", "<li>a more</li>"},
    {"numbered list", "1. a\n2. b", "<ol><li>a</li><li>b</li></ol>"},
    {"table header and rule", "| A | B |\n|---|---|\n| 1 | 2 |", "<th align=\"left\" bgcolor=\"#dde5ee\">A</th>"},
    {"table body", "| A | B |\n|---|---|\n| 1 | 2 |", "<td>1</td><td>2</td>"},
    {"escaped bar in a cell", "| A |\n|---|\n| a \\| b |", "<td>a | b</td>"},
    {"example keeps blanks and escapes", "```velmo\nIF a < 1 THEN\n  END\n```", "<pre>IF a &lt; 1 THEN\n  END</pre>"},
    {"example box colour", "```velmo\nEND\n```", "bgcolor=\"#eaf0f7\""},
    {"output is labelled", "```output\n42\n```", "<p class=\"caption\">Output</p><pre>42</pre>"},
    {"no heading inside a block", "```text\n# not a heading\n```", "<pre># not a heading</pre>"},
    {"note", "> Mind the gap.", "bgcolor=\"#fdf6e3\">Mind the gap.</td>"},
    {"raw HTML passes", "<table><tr><td>x</td></tr></table>", "<table><tr><td>x</td></tr></table>"},
    {"CR LF lines", "one\r\ntwo\r\n", "<p>one two</p>"},
    {"picture", "![Figure 1.1: The window](images/w.png)",
     "<p align=\"center\" class=\"figure\"><img src=\"images/w.png\"></p>"},
    {"picture's caption under it", "![Figure 1.1: a < b](images/w.png)",
     "</p>\n<p align=\"center\" class=\"figcaption\">Figure 1.1: a &lt; b</p>"},
    {"picture ends a paragraph", "Look:\n![Figure 1.1: The window](images/w.png)", "<p>Look:</p>\n<p align=\"center\""},
    {"picture line inside a block", "```text\n![x](images/w.png)\n```", "<pre>![x](images/w.png)</pre>"},
    {"picture mark inside a line is text", "see ![x](images/w.png) here", "<p>see ![x](images/w.png) here</p>"},
};

class Blocks : public testing::TestWithParam<MarkdownCase> { };

TEST_P(Blocks, BecomeHtml)
{
    const QString html = MarkdownToHtml(QString::fromUtf8(GetParam().markdown));
    EXPECT_TRUE(html.contains(QString::fromUtf8(GetParam().html))) << html.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Markdown, Blocks, testing::ValuesIn(kBlocks),
                         [](const testing::TestParamInfo<MarkdownCase> &info) {
                             return StableTestName(info.param.what, info.index);
                         });

const MarkdownCase kInline[] = {
    {"code", "use `PRINT a`", "use <code>PRINT a</code>"},
    {"code keeps stars", "`a * b`", "<code>a * b</code>"},
    {"bold", "**F9** compiles", "<b>F9</b> compiles"},
    {"italic", "an *image*", "an <i>image</i>"},
    {"escaped star", "a \\* b", "a * b"},
    {"entities", "a < b & c > d", "a &lt; b &amp; c &gt; d"},
    {"unclosed bold is closed", "**open", "<b>open</b>"},
    {"lone backtick stays", "it`s", "it`s"},
};

class Inline : public testing::TestWithParam<MarkdownCase> { };

TEST_P(Inline, BecomesHtml)
{
    EXPECT_EQ(InlineHtml(QString::fromUtf8(GetParam().markdown)).toStdString(), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(Markdown, Inline, testing::ValuesIn(kInline),
                         [](const testing::TestParamInfo<MarkdownCase> &info) {
                             return StableTestName(info.param.what, info.index);
                         });

} // namespace
