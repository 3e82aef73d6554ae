#include "StatusPanel.h"

#include <QFontMetrics>

TStatusPanel::TStatusPanel(int width, bool elide, QWidget *parent)
    : QLabel(parent)
    , FElide(elide)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setTextFormat(Qt::PlainText);
    if (elide) {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        setMinimumWidth(20);
    } else {
        setAlignment(Qt::AlignCenter);
        setFixedWidth(width);
    }
}

void TStatusPanel::SetText(const QString &text)
{
    FText = text;
    ShowText();
}

void TStatusPanel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    ShowText();
}

void TStatusPanel::ShowText()
{
    if (!FElide) {
        setText(FText);
        return;
    }
    const int room = contentsRect().width() - 4;
    setText(fontMetrics().elidedText(FText, Qt::ElideMiddle, room));
    setToolTip(FText);
}
