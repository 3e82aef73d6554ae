#pragma once

#include <QString>
#include <functional>

class QWidget;

// How the workbench asks and tells its user. Each hook that is set is called
// instead of the modal box it stands for (tests answer and record instead);
// one not set leaves the box. The hooks of the application's state object are
// in force while it lives.
struct TDialogHooks {
    // The message dialog: returns mrOk, mrCancel, mrYes or mrNo.
    std::function<int(int kind, const QString &message, const QString &help, bool withCancel)> messageDlg;
    // The error box of the top-level error handler.
    std::function<void(const QString &message)> errorReporter;
    // The editor's save dialog: the chosen file name, empty when cancelled.
    std::function<QString(QWidget *parent, const QString &initialName)> askSaveName;
    // The editor's Yes/No/Cancel question: 6 (Yes), 7 (No) or 2 (Cancel).
    std::function<int(const QString &message, const QString &help)> confirm;
    // The sound of a search that found nothing.
    std::function<void()> beep;
};

// The hooks in force; an empty set while none are.
const TDialogHooks &DialogHooks();

// Puts hooks in force for as long as it lives; those in force before come
// back afterwards (the holders end in the reverse order of their start).
class TDialogHooksInUse {
public:
    explicit TDialogHooksInUse(const TDialogHooks &hooks);
    ~TDialogHooksInUse();
    TDialogHooksInUse(const TDialogHooksInUse &) = delete;
    TDialogHooksInUse &operator=(const TDialogHooksInUse &) = delete;

private:
    const TDialogHooks *m_hooks;
    const TDialogHooks *m_previous;
};
