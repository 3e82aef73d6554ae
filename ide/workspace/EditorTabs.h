// TEditorTabs: pairs the main window's tab strip (EditorTabSet, one tab per
// open editor, tagged with the editor's Id) with the editor list whose editors
// are stacked in the editor panel, and carries out the File, Edit and search
// commands on documents that the main window's handlers pass on.
#pragma once

#include "EditorList.h"

#include <QObject>

#include <functional>

class QStackedWidget;
class TCommandRegistry;
class QTabBar;
class TSearchDlg;

class TEditorTabs : public QObject {
    Q_OBJECT

public:
    // The find dialog to use (the workbench's, which outlives the tabs),
    // asked for when first needed: it is made then.
    using TSearchDlgSource = std::function<TSearchDlg &()>;

    // Editors are created on stack.
    TEditorTabs(QTabBar *tabs, QStackedWidget *stack, TSearchDlgSource searchDlg, QObject *parent = nullptr);

    TEditorList &EditorList()
    {
        return m_list;
    }
    QTabBar *EditorTabSet() const
    {
        return m_tabs;
    }
    QStackedWidget *EditorStack() const
    {
        return m_stack;
    }
    TSearchDlg &SearchDialog() const
    {
        return m_searchDlg();
    }

    // The editor of the selected tab, or none.
    IEditor *CurrentEditor() const;
    int FindTabByPrefix(const QString &text) const;
    int FindTabById(int id) const;
    QString TabCaption(int index) const;
    IEditor *OpenEditor(const QString &name);
    // "NewFile" followed by the first free number and the extension.
    QString NewFileName(const QString &extension) const;
    // The open dialog; the chosen name, or an empty text.
    QString ChooseFileToOpen();

    // Binds the File, Edit and search commands below to their names in the
    // command table.
    void RegisterCommands(TCommandRegistry &commands);

    // File commands.
    void NewBasicFileClick();
    void NewTextFileClick();
    void SaveFileClick();
    void SaveFileAsClick();
    void SaveAllFilesClick();
    // Saves what a compile of the active editor's file reads: that file (asking
    // for a name when it has none) and every other file with a name, which
    // it may include. An unrelated untitled file is left alone. False when
    // the user cancelled a save.
    bool SaveForCompile();
    void CloseFileClick();
    bool CloseAllFilesClick(); // true when no editor is left open
    void EditorTabSetChanged(int index);
    bool EditorTabSetClose(int index);
    void UpdateModifiedMark(IEditor *editor);
    bool AllSaved = false;

    // Edit commands on the current editor.
    void UndoMenuClick();
    void RedoMenuClick();
    void CutMenuClick();
    void CopyMenuClick();
    void PasteMenuClick();
    void DeleteMenuClick();
    void SelectAllMenuClick();

    // Search commands.
    void FindMenuClick();
    void FindNextMenuClick();
    void FindPrevMenuClick();
    void FindReplaceMenuClick();

    // The main window's three notifications (the modified mark of the tab
    // is kept here before the document notification is passed on).
    std::function<void(IEditor *)> OnEditStateChange;
    std::function<void(IEditor *)> OnCaretChange;
    std::function<void(IEditor *)> OnDocumentChange;
    // Shows the find dialog (replace: its replace layout) modally; tests
    // answer it themselves.
    std::function<int(TSearchDlg &, bool replace)> ExecSearchDlg;

private:
    void SetTabCaption(int index, const QString &caption);
    void RemoveTab(int index);
    void RunSearchDialog(bool replace);
    bool SaveEditors(const std::function<bool(const IEditor *)> &wanted);

    TSearchDlgSource m_searchDlg;
    QTabBar *m_tabs;
    QStackedWidget *m_stack;
    TEditorList m_list;
};
