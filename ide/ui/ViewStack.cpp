#include "ViewStack.h"

TViewStack::TViewStack(QWidget *parent)
    : QStackedWidget(parent)
{
}

void TViewStack::resizeEvent(QResizeEvent *event)
{
    QStackedWidget::resizeEvent(event);
    SizeViews();
}

// The stack's layout places only the shown view; the hidden ones follow here.
void TViewStack::SizeViews()
{
    const QRect place = contentsRect();
    for (int i = 0; i < count(); ++i)
        if (QWidget *view = widget(i); view->geometry() != place)
            view->setGeometry(place);
}
