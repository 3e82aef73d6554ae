// The main window's side of the working-directory panel, the recent-files
// entries of the File menu and the Print command.
#include "MainForm.h"

#include "CaptionPanel.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "FileListBox.h"
#include "IEditor.h"
#include "Print.h"
#include "RecentFiles.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QToolBar>
#include <QUrl>

namespace {

const char *const RecentEntryPrefix = "RecentFile";

QString RecentEntryName(int index)
{
    return QLatin1String(RecentEntryPrefix) + QString::number(index);
}

} // namespace

// The list itself, its notifications and the recent-files list and menu
// entries; called once while the window is created.
void TMainWindow::CreateWorkDirList()
{
    WorkDirList = new TImageFileListBox(WorkDirPanel);
    WorkDirList->setObjectName("WorkDirList");
    WorkDirList->OnChange = [this] {
        if (QDir::cleanPath(Workspace.workingDir) != WorkDirList->Directory())
            Workspace.workingDir = WorkDirList->Directory();
        UpdateWorkDirCaption();
    };
    WorkDirList->OnFileDblClick = [this](const QString &) { OpenWorkDirFile(); };
    connect(Menu("WorkDirPopupMenu"), &QMenu::aboutToShow, this, &TMainWindow::WorkDirPopupMenuUpdate);
    RecentFileList = new TRecentFiles;
    QMenu *recentMenu = Menu("RecentFilesMenu");
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        auto *entry = recentMenu->addAction(QString());
        entry->setObjectName(RecentEntryName(i));
        entry->setVisible(false);
        connect(entry, &QAction::triggered, this, [this, i] { RunGuarded([this, i] { OpenRecentFileClick(i); }); });
        FMenuItems.insert(entry->objectName(), entry);
    }
}

void TMainWindow::UpdateWorkDirCaption()
{
    const QString directory = WorkDirList->Directory();
    WorkDirToolbar->setToolTip(directory);
    WorkDirToolbar->setWindowTitle(QLatin1Char(' ') + ShortenPath(directory));
    WorkDirPanel->SetCaption(ShortenPath(directory));
}

void TMainWindow::OpenWorkDirFile()
{
    const QString name = WorkDirList->SelectedText();
    if (name.isEmpty())
        return;
    const QString fullName = JoinPath(WorkDirList->Directory(), name);
    if (IsEditorFileType(name))
        OpenFile(fullName);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(fullName));
}

void TMainWindow::WorkDirBtnClick()
{
    QFileDialog dialog(this, QStringLiteral("Select working folder..."), WorkDirList->Directory());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Select or create a new working folder."));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    WorkDirList->SetDirectory(dialog.selectedFiles().first());
}

void TMainWindow::RefreshBtnClick()
{
    WorkDirList->RefreshList();
}

void TMainWindow::WorkDirFilterBtnClick()
{
    unsigned bits = 0;
    for (const TFileFilter &filter : FileFilters()) {
        if (ToolButton(filter.ButtonName)->isChecked())
            bits |= filter.Bit;
    }
    WorkDirList->SetFilter(bits);
}

void TMainWindow::WorkDirPopupMenuUpdate()
{
    MenuItem("DeleteWorkDirFileItem")->setEnabled(!WorkDirList->SelectedText().isEmpty());
}

void TMainWindow::DeleteWorkDirFileMenuClick()
{
    WorkDirList->DeleteSelected();
}

// Part of the File menu's opening handler.
void TMainWindow::UpdateRecentFileEntries()
{
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        QAction *entry = MenuItem(RecentEntryName(i));
        const QString name = RecentFileList->FileAt(i);
        entry->setText(RecentEntryCaption(i, name));
        entry->setVisible(!name.isEmpty());
    }
    Menu("RecentFilesMenu")->menuAction()->setEnabled(MenuItem(RecentEntryName(0))->isVisible());
}

void TMainWindow::OpenRecentFileClick(int index)
{
    const QString name = RecentFileList->FileAt(index);
    if (!name.isEmpty())
        OpenFile(name);
}

// Settings hand-over: the recent files (key 0 ends on top), the filter set
// by the buttons and the working directory; a folder that cannot be read
// leaves the list where it was, already filtered.
void TMainWindow::ReadWorkDirSettings()
{
    for (qsizetype i = Workspace.recentFiles.size() - 1; i >= 0; --i)
        RecentFileList->AddFile(Workspace.recentFiles[i]);
    const QString directory = Workspace.workingDir; // a refresh moves the field
    WorkDirList->SetFilter(unsigned(Workspace.FilterBits()));
    WorkDirList->SetDirectory(directory);
}

// Workspace holds the working directory since the list's last move.
void TMainWindow::WriteWorkDirSettings()
{
    Workspace.recentFiles = RecentFileList->Files();
}

void TMainWindow::PrintFileMenuClick()
{
    IEditor *editor = CurrentEditor();
    if (!editor)
        return;
    TPrintFileDialog &dialog = TPrintFileDialog::Instance();
    dialog.SetSelectedOnly(editor->CanCopy());
    if (dialog.exec() != QDialog::Accepted)
        return;
    editor->Print(dialog.Colors(), dialog.LineNumbers(), dialog.SelectedOnly());
}
