#include "MacroEdit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TMcuMacroEdit::TMcuMacroEdit(QWidget *parent)
    : QDialog(parent)
{
    setObjectName("MacroEditor");
    setWindowTitle(tr(" Macro-Editor"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(tr("&Macro:"), this);
    MacroEdit = new QLineEdit(this);
    MacroEdit->setObjectName("MacroEdit");
    MacroEdit->setMinimumWidth(320);
    label->setBuddy(MacroEdit);
    layout->addWidget(label);
    layout->addWidget(MacroEdit);
    layout->addWidget(new QLabel(tr("Enter control chars using #<decimal number>, e.g. CR->#13"), this));
    layout->addWidget(new QLabel(tr("Insert delay times with #27T<milliseconds>, e.g. #27T20"), this));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OkBtn = new QPushButton(tr("OK"), this);
    OkBtn->setObjectName("OkBtn");
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(tr("Cancel"), this);
    CancelBtn->setObjectName("CancelBtn");
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(MacroEdit, &QLineEdit::textChanged, this, &TMcuMacroEdit::MacroEditChange);
    MacroEditChange();
}

QString TMcuMacroEdit::Text() const
{
    return MacroEdit->text();
}

void TMcuMacroEdit::SetText(const QString &text)
{
    MacroEdit->setText(text);
}

void TMcuMacroEdit::MacroEditChange()
{
    OkBtn->setEnabled(!MacroEdit->text().isEmpty());
}

bool TMcuMacroEdit::Execute(QWidget *parent, QString &text)
{
    TMcuMacroEdit editor(parent);
    editor.SetText(text);
    if (editor.exec() != QDialog::Accepted || editor.Text().isEmpty())
        return false;
    text = editor.Text();
    return true;
}
