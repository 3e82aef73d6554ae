#pragma once

#include "TransferDlg.h"

#include <QStringList>

class QComboBox;
class QFrame;
class QStackedWidget;

// The firmware update wizard: page "Platform..." picks one of the images in
// the "Updates" folder beside the program, page "Download..." sends it with
// the download task. The wizard closes once the transfer ended without error.
// With no image in the folder, the page says where images are looked for.
// Cancel while an image is being sent asks first, since a module whose update
// stops may be left without a working firmware; a stopped update says that it
// must be run again.
class TMcuUpdate : public TMcuTransferDlg {
    Q_OBJECT

public:
    explicit TMcuUpdate(QWidget *parent = nullptr);

    // The update images of a program folder: the plain files "Updates/*.hex"
    // in the order the folder lists them.
    static QStringList UpdateFiles(const QString &programDir);
    // How a list entry shows an image name (without extension): the text
    // before the first "_V", and the four characters from that "V" on; a
    // name without "_V" is one column.
    static QStringList PlatformColumns(const QString &name);
    // Where the second column starts, in pixels from the first.
    static constexpr int kVersionColumn = 200;

    // --- Controls -------------------------------------------------------------
    QLabel *HeaderLabel;
    QStackedWidget *Pages;
    QComboBox *PlatformBox;
    QLabel *NoImagesLabel; // shown while the folder holds no image
    QFrame *WarningFrame;
    QPushButton *BackBtn;
    QPushButton *NextBtn;

    // --- Handlers -------------------------------------------------------------
    void BackBtnClick();
    void NextBtnClick();
    void DownloadBtnClick();
    void PlatformBoxChange();
    // Cancel and the Escape key.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    // No page change while a transfer runs.
    void TransferStateChanged() override;

private:
    QWidget *CreateMargin();
    QWidget *CreateHeader();
    QWidget *CreatePlatformPage();
    QWidget *CreateDownloadPage();
    QLayout *CreateButtons();
    void ShowPage(int index);
    void FillPlatformBox();

    bool m_stopAsked = false; // the user stopped the transfer that runs
};
