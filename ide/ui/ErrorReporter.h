#pragma once

#include <QString>
#include <functional>

// The workbench's top-level error reporting: errors of file access, printing
// and the settings file travel up to here and are shown in the error box.

// Shows the message of the exception being handled (call from a catch block).
// Anything not derived from std::exception is shown as "Unknown error.".
void HandleException();

// Shows one error message the way the top-level handler does.
void ShowErrorMessage(const QString &message);

// The error-reporter hook in force (DialogHooks) is called instead of the
// error box when set.

// Runs one command and lets any error it raises reach the top-level handler.
// Returns false when the command ended with an error.
bool RunGuarded(const std::function<void()> &command);
