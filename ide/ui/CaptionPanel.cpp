#include "CaptionPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TCaptionPanel::TCaptionPanel(const QString &name, const QString &caption, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(name);
    setFrameShape(QFrame::StyledPanel);

    auto *bar = new QWidget(this);
    bar->setObjectName(name + "Caption");
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::Mid);
    auto *barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(4, 1, 1, 1);
    FCaption = new QLabel(caption, bar);
    FCaption->setTextFormat(Qt::PlainText);
    FCloseButton = new QToolButton(bar);
    FCloseButton->setObjectName(name + "CloseBtn");
    FCloseButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    FCloseButton->setAutoRaise(true);
    FCloseButton->setToolTip(tr("Close"));
    barLayout->addWidget(FCaption, 1);
    barLayout->addWidget(FCloseButton);
    connect(FCloseButton, &QToolButton::clicked, this, &TCaptionPanel::CloseClicked);

    FLayout = new QVBoxLayout(this);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);
    FLayout->addWidget(bar);
}

void TCaptionPanel::SetCaption(const QString &caption)
{
    FCaption->setText(caption);
}

QString TCaptionPanel::Caption() const
{
    return FCaption->text();
}

void TCaptionPanel::AddWidget(QWidget *widget, int stretch)
{
    FLayout->addWidget(widget, stretch);
}
