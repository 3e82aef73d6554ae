// The manual's source format: a small Markdown subset, converted to the HTML
// that QTextDocument reads.
//
//   # Title, ## Title, ### Title, #### Title    headings
//   text lines                                  a paragraph (a blank line ends it)
//   - item / 1. item                            lists (an indented line continues the item)
//   | a | b |  followed by  |---|---|           a table with a header row
//   > text                                      a note
//   ```velmo / ```output / ```text ... ```      an example, a program's output, plain text
//   <...>                                       raw HTML up to the next blank line
//   ![Caption](images/name.png)                 a picture with its caption under it, centred;
//                                               the image's name is the path as written
//   `code`, **bold**, *italic*, \x (x taken literally) inside text
#pragma once

#include <QRegularExpression>
#include <QString>

// The line shapes the manual's expansion reads too: a heading (the #s, the
// title) and a picture (the caption, the path).
extern const QRegularExpression kMarkdownHeading;
extern const QRegularExpression kMarkdownFigure;

// The HTML of a whole Markdown text.
QString MarkdownToHtml(const QString &markdown);

// The HTML of one line of text with its inline marks.
QString InlineHtml(const QString &text);

// Text with &, < and > written as entities.
QString EscapeHtml(const QString &text);
