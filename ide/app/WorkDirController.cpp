#include "WorkDirController.h"

#include "CaptionPanel.h"
#include "CommandRegistry.h"
#include "ErrorReporter.h"
#include "Errors.h"
#include "FileListBox.h"
#include "MainForm.h"
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

TWorkDirController::TWorkDirController(TMainWindow &window, TWorkspaceState &workspace)
    : m_window(window)
    , m_workspace(workspace)
{
}

TWorkDirController::~TWorkDirController() = default;

TImageFileListBox *TWorkDirController::CreateList(QWidget *parent)
{
    m_list = new TImageFileListBox(parent);
    m_list->setObjectName("WorkDirList");
    m_list->OnChange = [this] {
        if (QDir::cleanPath(m_workspace.workingDir) != m_list->Directory())
            m_workspace.workingDir = m_list->Directory();
        UpdateWorkDirCaption();
    };
    m_list->OnFileDblClick = [this](const QString &) { OpenWorkDirFile(); };
    QObject::connect(m_window.Menu("WorkDirPopupMenu"), &QMenu::aboutToShow, &m_window,
                     [this] { WorkDirPopupMenuUpdate(); });
    m_recentFiles = std::make_unique<TRecentFiles>();
    QMenu *recentMenu = m_window.Menu("RecentFilesMenu");
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        auto *entry = recentMenu->addAction(QString());
        entry->setObjectName(RecentEntryName(i));
        entry->setVisible(false);
        QObject::connect(entry, &QAction::triggered, &m_window,
                         [this, i] { RunGuarded([this, i] { OpenRecentFileClick(i); }); });
        m_window.AddMenuItem(entry);
    }
    return m_list;
}

void TWorkDirController::RegisterCommands(TCommandRegistry &commands)
{
    commands.Bind("WorkDirBtnClick", [this] { WorkDirBtnClick(); });
    commands.Bind("RefreshBtnClick", [this] { RefreshBtnClick(); });
    commands.Bind("WorkDirFilterBtnClick", [this] { WorkDirFilterBtnClick(); });
    commands.Bind("DeleteWorkDirFileMenuClick", [this] { DeleteWorkDirFileMenuClick(); });
}

void TWorkDirController::UpdateWorkDirCaption()
{
    const QString directory = m_list->Directory();
    m_window.WorkDirToolbar()->setToolTip(directory);
    m_window.WorkDirToolbar()->setWindowTitle(QLatin1Char(' ') + ShortenPath(directory));
    m_window.WorkDirPanel()->SetCaption(ShortenPath(directory));
}

void TWorkDirController::OpenWorkDirFile()
{
    const QString name = m_list->SelectedText();
    if (name.isEmpty())
        return;
    const QString fullName = JoinPath(m_list->Directory(), name);
    if (IsEditorFileType(name))
        m_window.OpenFile(fullName);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(fullName));
}

void TWorkDirController::WorkDirBtnClick()
{
    QFileDialog dialog(&m_window, QStringLiteral("Select working folder..."), m_list->Directory());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Select or create a new working folder."));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_list->SetDirectory(dialog.selectedFiles().first());
}

void TWorkDirController::RefreshBtnClick()
{
    m_list->RefreshList();
}

void TWorkDirController::WorkDirFilterBtnClick()
{
    unsigned bits = 0;
    for (const TFileFilter &filter : FileFilters()) {
        if (m_window.ToolButton(filter.ButtonName)->isChecked())
            bits |= filter.Bit;
    }
    m_list->SetFilter(bits);
}

void TWorkDirController::WorkDirPopupMenuUpdate()
{
    m_window.MenuItem("DeleteWorkDirFileItem")->setEnabled(!m_list->SelectedText().isEmpty());
}

void TWorkDirController::DeleteWorkDirFileMenuClick()
{
    m_list->DeleteSelected();
}

void TWorkDirController::UpdateRecentFileEntries()
{
    for (int i = 0; i < TRecentFiles::MaxCount; ++i) {
        QAction *entry = m_window.MenuItem(RecentEntryName(i));
        const QString name = m_recentFiles->FileAt(i);
        entry->setText(RecentEntryCaption(i, name));
        entry->setVisible(!name.isEmpty());
    }
    m_window.Menu("RecentFilesMenu")->menuAction()->setEnabled(m_window.MenuItem(RecentEntryName(0))->isVisible());
}

void TWorkDirController::OpenRecentFileClick(int index)
{
    const QString name = m_recentFiles->FileAt(index);
    if (!name.isEmpty())
        m_window.OpenFile(name);
}

void TWorkDirController::AddRecentFile(const QString &fileName)
{
    m_recentFiles->AddFile(fileName);
}

// The recent files (key 0 ends on top), the filter set by the buttons and the
// working directory; a folder that cannot be read leaves the list where it
// was, already filtered.
void TWorkDirController::ReadSettings()
{
    for (qsizetype i = m_workspace.recentFiles.size() - 1; i >= 0; --i)
        m_recentFiles->AddFile(m_workspace.recentFiles[i]);
    const QString directory = m_workspace.workingDir; // a refresh moves the field
    m_list->SetFilter(unsigned(m_workspace.FilterBits()));
    m_list->SetDirectory(directory);
}

// The workspace holds the working directory since the list's last move.
void TWorkDirController::WriteSettings()
{
    m_workspace.recentFiles = m_recentFiles->Files();
}
