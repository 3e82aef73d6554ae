// The parts of the programming manual that are printed from the programs' own
// tables, so that they cannot drift from what the programs do: the syntax
// lines of statements, functions and system variables (the compiler's
// keyword, syntax and built-in tables), the hints of the editor's completion
// list, the token codes, the option names, the module types, the
// workbench's keys.
#pragma once

#include <QString>
#include <QStringList>

// One reference entry of the manual: the keywords it describes (the first
// names it) and, for statements the compiler compiles with routines of their
// own, the syntax lines written in the manual's source.
struct TManualEntry {
    QStringList keywords;
    QStringList syntax;
};

// The heading and syntax box of an entry (Markdown with an HTML block). On a
// wrong entry the result is empty and `error` says why: a word that is no
// keyword, a syntax written for a keyword whose syntax comes from the
// compiler's tables, or none where it does not.
QString EntryMarkdown(const TManualEntry &entry, QString &error);

// A generated table by name: "keywords" (token codes), "options" (the
// predefined option names), "targets" (module types and their limits),
// "keys" (the workbench's shortcuts) or "toolbar" (its buttons). False for
// any other name.
bool GeneratedTable(const QString &name, QString &markdown);

// Every keyword of the compiler's table, in the table's order of symbols.
QStringList CompilerKeywords();

// The keywords of the compiler's table that none of the entries describes
// (an entry for one keyword of a numbered family describes the family).
QStringList KeywordsWithoutEntry(const QList<QStringList> &entries);

// The syntax line the compiler's syntax table gives a statement, such as
// "PUT [#device,] expression [, expression]"; empty when it has none.
QString TableSyntax(const QString &keyword);
