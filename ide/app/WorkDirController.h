#pragma once

#include <memory>

class QString;
class QWidget;
class TCommandRegistry;
class TImageFileListBox;
class TMainWindow;
class TRecentFiles;
struct TWorkspaceState;

// The working-directory panel's list in the main window and the recent-files
// entries of the File menu: the list follows the workspace's working
// directory, opens files on a double-click and is filtered by the panel's
// buttons; the recent files are read from and written to the workspace.
class TWorkDirController {
public:
    TWorkDirController(TMainWindow &window, TWorkspaceState &workspace);
    ~TWorkDirController();

    // The list, its notifications and the recent-files list and menu
    // entries; called once while the window is built.
    TImageFileListBox *CreateList(QWidget *parent);
    void RegisterCommands(TCommandRegistry &commands);

    void UpdateWorkDirCaption();
    void OpenWorkDirFile();
    void WorkDirBtnClick();
    void RefreshBtnClick();
    void WorkDirFilterBtnClick();
    void WorkDirPopupMenuUpdate();
    void DeleteWorkDirFileMenuClick();
    // Part of the File menu's opening handler.
    void UpdateRecentFileEntries();
    void OpenRecentFileClick(int index);
    void AddRecentFile(const QString &fileName);

    // Settings hand-over with the workspace.
    void ReadSettings();
    void WriteSettings();

    TImageFileListBox *WorkDirList() const
    {
        return m_list;
    }
    TRecentFiles *RecentFileList() const
    {
        return m_recentFiles.get();
    }

private:
    TMainWindow &m_window;
    TWorkspaceState &m_workspace;
    TImageFileListBox *m_list = nullptr;
    std::unique_ptr<TRecentFiles> m_recentFiles;
};
