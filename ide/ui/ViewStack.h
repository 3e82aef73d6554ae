#pragma once

#include <QStackedWidget>

// Views stacked in one place, one shown at a time, where every view has the
// size of the place whether it was ever shown or not: a view that keeps
// content laid out for its size (the console's screen rows) gets the right
// size from the start, not only once its tab is first picked. The views are
// sized whenever the stack is, so they are added before it is first shown.
class TViewStack : public QStackedWidget {
    Q_OBJECT

public:
    explicit TViewStack(QWidget *parent = nullptr);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void SizeViews();
};
