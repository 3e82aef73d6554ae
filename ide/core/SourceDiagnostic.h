#pragma once

#include <QList>
#include <QString>

// A message of the language engine on a document: where it applies (lines
// and characters from 0, the end excluded), how bad it is and what it says.
struct TSourceDiagnostic {
    enum class TSeverity { Error, Warning, Information };

    int startLine = 0;
    int startCharacter = 0;
    int endLine = 0;
    int endCharacter = 0;
    TSeverity severity = TSeverity::Error;
    QString message;

    bool operator==(const TSourceDiagnostic &) const = default;
};

using TSourceDiagnostics = QList<TSourceDiagnostic>;
