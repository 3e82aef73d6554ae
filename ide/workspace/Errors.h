#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

// An error of file access, printing or the settings file. Command handlers do
// not catch it; it travels to the top-level handler, which shows its message
// and returns to the event loop.
class EKorvidError : public std::runtime_error {
public:
    explicit EKorvidError(const QString &message);
    QString Message() const;
};

// Shows the message of the exception being handled (call from a catch block).
// Anything not derived from std::exception is shown as "Unknown error.".
void HandleException();

// Shows one error message the way the top-level handler does.
void ShowErrorMessage(const QString &message);

// Replaces how error messages are shown (tests record them instead of
// opening a modal box); an empty function restores the error box.
void SetErrorReporter(std::function<void(const QString &)> reporter);

// Runs one command and lets any error it raises reach the top-level handler.
// Returns false when the command ended with an error.
bool RunGuarded(const std::function<void()> &command);

// The system's text for the error code of the last failed system call
// (errno), with the first line break removed; empty when the system has no
// text for the code.
QString LastErrorText();
// The same for a given error code.
QString SystemErrorText(int code);
