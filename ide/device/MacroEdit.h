#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Edits one macro as typed (escapes are not decoded here). OK is enabled only
// while the text is not empty.
class TMcuMacroEdit : public QDialog {
    Q_OBJECT

public:
    explicit TMcuMacroEdit(QWidget *parent = nullptr);

    QString Text() const;
    void SetText(const QString &text);

    // Shows the editor with text; true and the new text on OK.
    static bool Execute(QWidget *parent, QString &text);

    QLineEdit *MacroEdit;
    QPushButton *OkBtn;
    QPushButton *CancelBtn;

private:
    void MacroEditChange();
};
