#pragma once

#include "EditState.h"
#include "Settings.h"

#include <optional>

class IEditor;
class QMenu;
class QStackedWidget;
class QTabBar;
class QTimer;
class QWidget;
class TAppState;
class TCommandRegistry;
class TEditorList;
class TEditorTabs;
class TFindListBox;
class TMainWindow;

// The editor tabs in the main window: the window's view of the current
// editor, the edit buttons and the caret and document panels of the status
// bar that follow it, the document commands that involve the window (open,
// save all, print), and Find All with its Find list. The editor tabs carry
// out and bind the other File, Edit and search commands.
class TEditorController {
public:
    TEditorController(TMainWindow &window, TAppState &app);

    // Called once each while the window is built.
    void CreateTabs(QTabBar *tabSet, QStackedWidget *stack, QMenu *popup);
    void CreateCaretTimer();
    TFindListBox *CreateFindList(QWidget *parent);
    void RegisterCommands(TCommandRegistry &commands);

    IEditor *CurrentEditor() const;
    std::optional<TEditState> CurrentEditState() const;
    // Opens the file in a tab (a failed open throws).
    void OpenEditor(const QString &fileName);

    // Notifications of the editor list; nullptr means no editor.
    void UpdateEditButtons(const TEditState *editor);
    void UpdateCaret(const TEditState *editor);
    void UpdateDocumentState(const TEditState *editor);
    void OnCaretUpdateTimer();

    void OpenFileClick();
    void SaveAllFilesClick();
    // See TEditorTabs::SaveForCompile.
    bool SaveForCompile();
    void PrintFileMenuClick();
    void FindAllMenuClick();

    // The find dialog's histories in the settings file.
    void ReadSearchHistory(const TWorkspaceState &workspace);
    void WriteSearchHistory(TWorkspaceState &workspace) const;

    TEditorTabs *EditorTabs() const
    {
        return m_tabs;
    }
    TEditorList *EditorList() const
    {
        return m_list;
    }
    TFindListBox *FindList() const
    {
        return m_findList;
    }
    QTimer *CaretUpdateTimer() const
    {
        return m_caretTimer;
    }
    int CaretLine() const
    {
        return m_caretLine;
    }
    int CaretColumn() const
    {
        return m_caretColumn;
    }
    // Whether the last Save All left every file saved.
    bool AllSaved() const
    {
        return m_allSaved;
    }

private:
    TMainWindow &m_window;
    TAppState &m_app;
    TEditorTabs *m_tabs = nullptr; // owned by the window
    TEditorList *m_list = nullptr; // owned by the tabs
    TFindListBox *m_findList = nullptr;
    QTimer *m_caretTimer = nullptr;
    int m_caretLine = 0;
    int m_caretColumn = 0;
    bool m_allSaved = false;
};
