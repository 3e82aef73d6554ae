#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QStackedWidget;

// A view of a stack that is made when first needed, not while the window is
// built. Until then a blank placeholder holds its place, so the order of the
// stack (and of the tabs that pick from it) stays as it is. Once made, the
// view takes the placeholder's index, whether it is the shown one, and the
// size of the stack's other views.
class TLazyView {
public:
    using TMake = std::function<QWidget *(QWidget *parent)>;

    // Adds the placeholder to the stack; make builds the view on first use.
    TLazyView(QStackedWidget *stack, const QString &name, TMake make);

    // What the stack holds in the view's place: the placeholder until the
    // view is made, then the view.
    QWidget *Place() const;
    // The view, made now if it was not yet.
    QWidget *View();
    bool Made() const
    {
        return m_view != nullptr;
    }

private:
    QStackedWidget *m_stack;
    QPointer<QWidget> m_placeholder;
    QWidget *m_view = nullptr;
    TMake m_make;
};
