#include "ColorListBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace {

// Paints each line with the colours its list chooses for it.
class TLineDelegate : public QStyledItemDelegate {
public:
    explicit TLineDelegate(TColorListBox *list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return {m_list->viewport()->width(), m_list->ItemHeight()};
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QString line = index.data(Qt::DisplayRole).toString();
        const bool selected = option.state & QStyle::State_Selected;
        const TLineStyle style = m_list->StyleOf(line, selected);
        const QPalette &palette = m_list->palette();
        painter->save();
        painter->fillRect(option.rect, style.background.isValid() ? style.background : palette.color(QPalette::Base));
        painter->setPen(style.text.isValid() ? style.text : palette.color(QPalette::Text));
        painter->setFont(m_list->font());
        const QRect textRect = option.rect.adjusted(style.indent, 1, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs, line);
        painter->restore();
    }

private:
    TColorListBox *m_list;
};

} // namespace

TColorListBox::TColorListBox(QWidget *parent)
    : QListWidget(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setUniformItemSizes(true);
    setItemDelegate(new TLineDelegate(this));
}

void TColorListBox::AddLine(const QString &line)
{
    addItem(line);
}

void TColorListBox::SetLines(const QStringList &lines)
{
    clear();
    addItems(lines);
}

QStringList TColorListBox::Lines() const
{
    QStringList lines;
    lines.reserve(count());
    for (int i = 0; i < count(); ++i)
        lines.append(item(i)->text());
    return lines;
}

int TColorListBox::ItemHeight() const
{
    return fontMetrics().height() + 2;
}

TLineStyle TColorListBox::StyleOf(const QString &line, bool selected) const
{
    return BuildLineStyle(line, selected);
}

void TColorListBox::DblClick()
{
    const QList<QListWidgetItem *> selected = selectedItems();
    if (selected.isEmpty())
        return;
    const TJumpTarget target = ParseJumpTarget(selected.first()->text());
    switch (target.kind) {
    case TJumpTarget::NoLocation:
        emit DoubleClicked();
        break;
    case TJumpTarget::BadNumber:
        DoConversionError(target.lineText);
        break;
    case TJumpTarget::Location:
        DoJumpToLine(target.fileName, target.line);
        break;
    }
}

void TColorListBox::DoJumpToLine(const QString &fileName, int line)
{
    if (OnJumpToLine)
        OnJumpToLine(this, fileName, line);
}

void TColorListBox::DoConversionError(const QString &lineText)
{
    const QString message = QStringLiteral("'%1' is not a valid integer value.").arg(lineText);
    if (OnError)
        OnError(message);
    else
        QMessageBox::critical(this, QApplication::applicationDisplayName(), message);
}

void TColorListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        DblClick();
    QListWidget::keyPressEvent(event);
}

// Only the primary button's double-click jumps; the other button opens the
// list's pop-up menu.
void TColorListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        DblClick();
}

// Every wheel message moves the list by exactly one line.
void TColorListBox::wheelEvent(QWheelEvent *event)
{
    const int step = event->angleDelta().y() > 0 ? -1 : 1;
    verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
    event->accept();
}

void TColorListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        doItemsLayout();
    QListWidget::changeEvent(event);
}
