#pragma once

#include "DialogHooks.h"
#include "Globals.h"
#include "PortSettings.h"
#include "RepaintThrottle.h"
#include "SettingsNotice.h"

#include <memory>

class TEditorPrinter;
class TIntellisense;
class TPrintFileDialog;
class TSearchAllDlg;
class TSearchDlg;

// What one workbench keeps for its whole life, whatever windows it shows:
// its paths and its dialog hooks (in force for the program-wide names and
// the message and error boxes while it lives), the records of the serial and
// terminal settings, the one-time preparation of the settings file, which
// unreadable files the user was told about, the repaint throttle of the
// scopes, the completion, the printer, and the reusable find, find-in-files
// and print dialogs. The application object owns one;
// each test builds its own.
class TAppState {
public:
    explicit TAppState(const TWorkbenchPaths &paths);
    ~TAppState();
    TAppState(const TAppState &) = delete;
    TAppState &operator=(const TAppState &) = delete;

    const TWorkbenchPaths &Paths() const
    {
        return m_paths;
    }
    TLinkSettings &LinkSettings()
    {
        return m_linkSettings;
    }
    TSettingsNotice &SettingsNotice()
    {
        return m_notice;
    }
    // Set, a hook answers in place of its box (tests).
    TDialogHooks &DialogHooks()
    {
        return m_dialogHooks;
    }
    // True only the first time: the first settings applied by this workbench
    // prepare the settings file.
    bool TakeSettingsPreparation();
    bool SettingsPrepared() const
    {
        return m_settingsPrepared;
    }

    // The dialogs, created on first use; the find-in-files dialog shares the
    // find dialog's search history.
    TSearchDlg &SearchDialog();
    bool SearchDialogMade() const
    {
        return m_searchDlg != nullptr;
    }
    // The find dialog's histories, as the settings give them and keep them:
    // held here until the dialog is made, then the dialog's.
    void SetSearchHistories(const QStringList &search, const QStringList &replace);
    QStringList SearchHistory() const;
    QStringList ReplaceHistory() const;
    TSearchAllDlg &SearchAllDialog();
    TPrintFileDialog &PrintDialog();
    // The printer the editors print on, set up in the print dialog.
    TEditorPrinter &Printer();
    // The completion every Velmo source offers.
    TIntellisense &Completion();
    // The repaints of the workbench's scopes.
    TRepaintThrottle &RepaintThrottle()
    {
        return m_repaintThrottle;
    }

private:
    TWorkbenchPaths m_paths;
    TPathsInUse m_pathsInUse;
    TDialogHooks m_dialogHooks;
    TDialogHooksInUse m_dialogHooksInUse;
    TLinkSettings m_linkSettings;
    TSettingsNotice m_notice;
    bool m_settingsPrepared = false;
    TRepaintThrottle m_repaintThrottle;
    // The find-in-files dialog goes before the find dialog whose history it
    // reads.
    std::unique_ptr<TSearchDlg> m_searchDlg;
    QStringList m_searchHistory;
    QStringList m_replaceHistory;
    std::unique_ptr<TSearchAllDlg> m_searchAllDlg;
    std::unique_ptr<TIntellisense> m_completion;
    std::unique_ptr<TEditorPrinter> m_printer;
    std::unique_ptr<TPrintFileDialog> m_printDlg;
};
