// The manual's source: chapter files in the Markdown subset of MarkdownHtml.h
// with directive lines, expanded into one Markdown text whose chapters and
// sections are numbered.
//
// Directives, each on a line of its own:
//   {{entry KEYWORD[, KEYWORD ...]}}   a reference entry (LanguageReference.h); for a
//                                      statement compiled by a routine of its own, a
//                                      ```syntax block with its syntax lines follows
//   {{table NAME}}                     a generated table (GeneratedTable)
//   {{appendices}}                     the chapters after it are lettered A, B, ...
//
// A picture: "![Caption](images/name.png)" on a line of its own, a PNG file
// in the images folder beside the chapter files. It is numbered in its
// chapter ("Figure 14.1: Caption"); its caption is plain text.
//
// "###" headings are the entries' own: the source uses "####" for headings
// below a section.
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

struct TChapterFile {
    QString name;
    QString text;
};

// A heading as numbered: levels 1 and 2 are the chapters and sections of the
// table of contents, level 3 the reference entries.
struct THeading {
    int level;
    QString text;
};

// A picture as numbered: the Markdown keeps its line, with the numbered
// caption, and names the image by its path as written.
struct TFigure {
    QString path; // "images/name.png", the image's name in the laid-out text
    QString caption; // "Figure 14.1: Caption"
    QImage image;
};

struct TExpandedManual {
    QString markdown;
    QList<TFigure> figures; // in the order of the text
    QList<THeading> headings; // in the order of the text
    QList<QStringList> entries; // the keywords of each level-3 heading, in order
};

// Expands the chapters in the order given and reads their pictures (from
// the folder of the chapter's file). Errors read "file(line): message".
bool ExpandManual(const QList<TChapterFile> &chapters, TExpandedManual &manual, QStringList &errors);

// The chapter files (*.md) of a folder, in the order of their names.
bool ReadChapters(const QString &folder, QList<TChapterFile> &chapters, QString &error);
