#pragma once

#include <QString>
#include <stdexcept>

// An error of file access, printing or the settings file. Command handlers do
// not catch it; it travels to the top-level handler, which shows its message
// and returns to the event loop.
class EKorvidError : public std::runtime_error {
public:
    explicit EKorvidError(const QString &message);
    QString Message() const;
};

// An error message as the error box shows it: its first sentence as the
// message, the rest as the help text below it. A full stop inside double
// quotes (a file name) ends no sentence.
struct TMessageParts {
    QString message;
    QString help;
};
TMessageParts SplitErrorMessage(const QString &text);

// The system's text for the error code of the last failed system call
// (errno), with the first line break removed; empty when the system has no
// text for the code.
QString LastErrorText();
// The same for a given error code.
QString SystemErrorText(int code);
