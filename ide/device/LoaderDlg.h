#pragma once

#include "TransferDlg.h"

#include <functional>

class QLineEdit;
class QToolButton;

// The download dialog: the HEX file to send (remembered in the settings
// file), a "..." chooser, and the progress of the transfer. "Download"
// checks the file, remembers it and starts the transfer; the dialog closes
// with OK once the transfer ended without error.
class TMcuLoaderDlg : public TMcuTransferDlg {
    Q_OBJECT

public:
    explicit TMcuLoaderDlg(QWidget *parent = nullptr);

    QString Filename() const
    {
        return m_filename;
    }
    // Stores the name (in lower case where that names the same file) and
    // shows it in the file edit.
    void SetFilename(const QString &name);

    // The file chooser, started in the folder of the current name; returns
    // the chosen file, empty when cancelled. Tests answer it themselves.
    std::function<QString(QWidget *parent, const QString &current)> AskFileName;
    static QString ChooseFile(QWidget *parent, const QString &current);

    // --- Controls -------------------------------------------------------------
    QLineEdit *FileEdit;
    QToolButton *BrowseBtn;

    // --- Handlers -------------------------------------------------------------
    void BrowseBtnClick();
    void DownloadBtnClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *CreateHeader();

    QString m_filename;
};
