#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class TEditorPrinter;

// The print options dialog, created once and reused, so the boxes keep
// their states between prints (except the selection box, which is set
// before every opening).
class TPrintFileDialog : public QDialog {
    Q_OBJECT

public:
    // The printer setup sets up printer (which outlives the dialog).
    explicit TPrintFileDialog(TEditorPrinter &printer, QWidget *parent = nullptr);

    bool Colors() const;
    bool LineNumbers() const;
    bool SelectedOnly() const;
    // Enables and ticks " Print selected text only", or disables and unticks it.
    void SetSelectedOnly(bool hasSelection);

    QCheckBox *ColorsCheckBox = nullptr;
    QCheckBox *LineNumbersCheckBox = nullptr;
    QCheckBox *SelectedOnlyCheckBox = nullptr;
    QPushButton *PrintSetupBtn = nullptr;
    QPushButton *PrintBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

protected:
    void PrintSetupBtnClick();
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    TEditorPrinter &m_printer;
};
