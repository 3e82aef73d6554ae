#include "LazyView.h"

#include <QStackedWidget>

TLazyView::TLazyView(QStackedWidget *stack, const QString &name, TMake make)
    : m_stack(stack)
    , m_placeholder(new QWidget(stack))
    , m_make(std::move(make))
{
    m_placeholder->setObjectName(name + QStringLiteral("Place"));
    m_stack->addWidget(m_placeholder);
}

QWidget *TLazyView::Place() const
{
    return m_view ? m_view : m_placeholder.data();
}

QWidget *TLazyView::View()
{
    if (m_view)
        return m_view;
    m_view = m_make(m_stack);
    const int index = m_stack->indexOf(m_placeholder);
    const bool shown = m_stack->currentWidget() == m_placeholder;
    m_view->setGeometry(m_placeholder->geometry()); // the size of the others, shown or not
    m_stack->insertWidget(index, m_view);
    if (shown)
        m_stack->setCurrentWidget(m_view);
    m_stack->removeWidget(m_placeholder);
    delete m_placeholder.data();
    return m_view;
}
