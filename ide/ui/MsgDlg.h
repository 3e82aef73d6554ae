#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;

// Kinds of message, in the order of their icons.
enum TMsgKind { mkWarning = 0, mkError = 1, mkInformation = 2, mkConfirmation = 3, mkCustom = 4 };

// Results of the message dialog.
enum TMsgResult { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// The one modal message dialog: an icon, the message in bold, a help text
// below it and one to three buttons in a grey band.
class TMessageDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int DesignWidth = 339;
    static constexpr int DesignHeight = 158;

    explicit TMessageDlg(QWidget *parent = nullptr);

    // Sets caption, icon, texts and buttons for one question.
    void Prepare(TMsgKind kind, const QString &message, const QString &help, bool withCancel);

    static QString KindCaption(TMsgKind kind);

    QLabel *Image;
    QLabel *MsgLabel;
    QLabel *HelpLabel;
    QPushButton *Btn1;
    QPushButton *Btn2;
    QPushButton *Btn3;

private:
    void CreateButtons(QWidget *band);
    void PlaceTexts();
    void ShowOk();
    void ShowYesNo(bool withCancel);
};

// Shows the message dialog modally and returns mrOk, mrCancel, mrYes or mrNo.
// Closing the dialog through its frame gives mrCancel.
int ShowMessageDlg(int kind, const QString &message, const QString &help, bool withCancel);
// The message-dialog hook in force (DialogHooks) is called instead when set.
