#include "LoaderDlg.h"

#include "ErrorReporter.h"
#include "Errors.h"
#include "Globals.h"
#include "IniFile.h"
#include "MsgDlg.h"
#include "Settings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor kHeaderColor(252, 252, 245);
const QString kFileFilter = QStringLiteral("Intel-Hex-File (*.HEX);;All files (*.*)");

// The name in lower case when that is the same file (a file system that
// ignores case, or a name already in lower case); otherwise as given, since
// changing the case would name another file, or none.
QString LowerCaseWherePossible(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == name)
        return name;
    const QString mine = QFileInfo(name).canonicalFilePath();
    return !mine.isEmpty() && mine == QFileInfo(lower).canonicalFilePath() ? lower : name;
}

} // namespace

TMcuLoaderDlg::TMcuLoaderDlg(QWidget *parent)
    : TMcuTransferDlg(parent)
    , AskFileName(&TMcuLoaderDlg::ChooseFile)
{
    setObjectName("LoaderDlg");
    setWindowTitle(tr("Download..."));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(CreateHeader());

    auto *body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    auto *fileRow = new QHBoxLayout;
    FileEdit = new QLineEdit(this);
    FileEdit->setObjectName("FileEdit");
    FileEdit->setMinimumWidth(360);
    BrowseBtn = new QToolButton(this);
    BrowseBtn->setObjectName("BrowseBtn");
    BrowseBtn->setText(tr("..."));
    fileRow->addWidget(FileEdit, 1);
    fileRow->addWidget(BrowseBtn);
    body->addLayout(fileRow);
    body->addWidget(ProgressLabel);
    body->addWidget(ProgressBar);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(DownloadBtn);
    buttons->addWidget(CancelBtn);
    body->addLayout(buttons);
    layout->addLayout(body);

    DownloadBtn->setDefault(true);
    connect(BrowseBtn, &QToolButton::clicked, this, &TMcuLoaderDlg::BrowseBtnClick);
    connect(DownloadBtn, &QPushButton::clicked, this, &TMcuLoaderDlg::DownloadBtnClick);

    SetFilename(Settings::ReadLastTransferFile(TIniFile(SettingsFileName())));
}

QWidget *TMcuLoaderDlg::CreateHeader()
{
    auto *header = new QWidget(this);
    header->setObjectName("Header");
    header->setAutoFillBackground(true);
    QPalette palette = header->palette();
    palette.setColor(QPalette::Window, kHeaderColor);
    header->setPalette(palette);
    auto *layout = new QHBoxLayout(header);
    auto *caption = new QLabel(windowTitle(), header);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    layout->addWidget(caption);
    return header;
}

void TMcuLoaderDlg::SetFilename(const QString &name)
{
    m_filename = LowerCaseWherePossible(name);
    FileEdit->setText(m_filename);
}

void TMcuLoaderDlg::showEvent(QShowEvent *event)
{
    TMcuTransferDlg::showEvent(event);
    FileEdit->setFocus();
}

QString TMcuLoaderDlg::ChooseFile(QWidget *parent, const QString &current)
{
    QFileDialog dialog(parent, tr("Open download file..."), QFileInfo(current).path(), kFileFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("hex");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void TMcuLoaderDlg::BrowseBtnClick()
{
    const QString chosen = AskFileName(this, FileEdit->text());
    if (!chosen.isEmpty())
        SetFilename(chosen);
}

void TMcuLoaderDlg::DownloadBtnClick()
{
    if (Running())
        return;
    SetFilename(FileEdit->text());
    if (m_filename.isEmpty() || !QFileInfo::exists(m_filename)) {
        ShowMessageDlg(mkWarning, tr("Can't find the selected file!"), tr("Please check the file name and path."),
                       false);
        FileEdit->setFocus();
        return;
    }
    const bool remembered = RunGuarded([this] {
        TIniFile ini(SettingsFileName());
        Settings::WriteLastTransferFile(ini, m_filename);
    });
    if (remembered)
        StartTransfer(m_filename);
}
