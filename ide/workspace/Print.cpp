#include "Print.h"

#include "PrintJob.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TPrintFileDialog::TPrintFileDialog(TEditorPrinter &printer, QWidget *parent)
    : QDialog(parent, Qt::Tool)
    , m_printer(printer)
{
    setWindowTitle(QStringLiteral(" Print File"));
    setModal(true);
    auto *options = new QGroupBox(QStringLiteral(" Print Options "), this);
    ColorsCheckBox = new QCheckBox(QStringLiteral(" Syntax coloring"), options);
    LineNumbersCheckBox = new QCheckBox(QStringLiteral(" Print line numbers"), options);
    SelectedOnlyCheckBox = new QCheckBox(QStringLiteral(" Print selected text only"), options);
    ColorsCheckBox->setChecked(true);
    auto *optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(ColorsCheckBox);
    optionsLayout->addWidget(LineNumbersCheckBox);
    optionsLayout->addWidget(SelectedOnlyCheckBox);

    PrintSetupBtn = new QPushButton(QStringLiteral("Printer Setup..."), this);
    PrintBtn = new QPushButton(QStringLiteral("Print"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    PrintSetupBtn->setAutoDefault(false);
    CancelBtn->setAutoDefault(false);
    PrintBtn->setDefault(true);
    connect(PrintSetupBtn, &QPushButton::clicked, this, &TPrintFileDialog::PrintSetupBtnClick);
    connect(PrintBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(PrintSetupBtn);
    buttons->addStretch();
    buttons->addWidget(PrintBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

bool TPrintFileDialog::Colors() const
{
    return ColorsCheckBox->isChecked();
}

bool TPrintFileDialog::LineNumbers() const
{
    return LineNumbersCheckBox->isChecked();
}

bool TPrintFileDialog::SelectedOnly() const
{
    return SelectedOnlyCheckBox->isChecked();
}

void TPrintFileDialog::SetSelectedOnly(bool hasSelection)
{
    SelectedOnlyCheckBox->setEnabled(hasSelection);
    SelectedOnlyCheckBox->setChecked(hasSelection);
}

void TPrintFileDialog::PrintSetupBtnClick()
{
    QPrintDialog setup(&m_printer, this);
    setup.setWindowTitle(QStringLiteral("Printer Setup"));
    setup.exec();
}

void TPrintFileDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Centred on the screen, not on the main window.
void TPrintFileDialog::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}
