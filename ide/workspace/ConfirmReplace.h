// TConfirmReplaceDialog: asks before each replacement of a replacing search,
// placed next to the occurrence. It exists only during one replace.
#pragma once

#include <QDialog>
#include <QRect>

class QLabel;
class QPushButton;

class TConfirmReplaceDialog : public QDialog {
    Q_OBJECT

public:
    // Modal results; "Yes to all" has a value of its own.
    enum { mrCancel = 2, mrYes = 6, mrNo = 7, mrYesToAll = 10 };

    explicit TConfirmReplaceDialog(QWidget *parent = nullptr);
    ~TConfirmReplaceDialog() override;

    // Words the question and places the dialog next to the occurrence. All
    // coordinates are screen coordinates; editorRect is the editor's client
    // area.
    void PrepareShow(const QRect &editorRect, int x, int top, int bottom, const QString &searchText);

    QLabel *lblConfirmation = nullptr;
    QLabel *Image = nullptr;
    QPushButton *btnReplace = nullptr;
    QPushButton *btnSkip = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnReplaceAll = nullptr;
};
