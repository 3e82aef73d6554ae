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

// A text wider than the panel keeps both its ends (a port's name and its line
// settings) and loses its middle; the whole text is then the tool tip.
void TStatusPanel::ShowText()
{
    const int room = contentsRect().width() - 2 * margin() - 4;
    const QString shown = fontMetrics().elidedText(FText, Qt::ElideMiddle, room);
    setText(shown);
    setToolTip(FElide || shown != FText ? FText : QString());
}
