#include "Intellisense.h"

#include "SourceEditor.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

constexpr int kColumnWidth = 70;

QColor ColorByName(const QString &name)
{
    if (name == QLatin1String("clBlue"))
        return QColor(0, 0, 255);
    if (name == QLatin1String("clGray"))
        return QColor(128, 128, 128);
    return QColor(0, 0, 0);
}

bool IsCompletionWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'#';
}

} // namespace

// Draws a display text in the pretty-text markup: "\column{}" moves to the
// second column, "\style{+B}" and "\style{-B}" switch bold on and off,
// "\color{name}" sets the colour ("0" is the default).
static void DrawPrettyText(QPainter &painter, const QRect &rect, const QString &text, const QFont &base)
{
    QFont font = base;
    QColor color = Qt::black;
    int x = rect.left() + 2;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'\\') {
            const qsizetype open = text.indexOf(u'{', i);
            const qsizetype close = text.indexOf(u'}', open);
            if (open < 0 || close < 0)
                break;
            const QString command = text.mid(i + 1, open - i - 1);
            const QString argument = text.mid(open + 1, close - open - 1);
            if (command == QLatin1String("column"))
                x = std::max(x, rect.left() + kColumnWidth);
            else if (command == QLatin1String("style"))
                font.setBold(argument == QLatin1String("+B"));
            else if (command == QLatin1String("color"))
                color = ColorByName(argument);
            i = close + 1;
            continue;
        }
        qsizetype end = text.indexOf(u'\\', i);
        if (end < 0)
            end = text.size();
        const QString run = text.mid(i, end - i);
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRect(x, rect.top(), rect.right() - x, rect.height()), Qt::AlignVCenter | Qt::AlignLeft, run);
        x += QFontMetrics(font).horizontalAdvance(run);
        i = end;
    }
}

class TPrettyTextDelegate : public QStyledItemDelegate {
public:
    TPrettyTextDelegate(const TIntellisenseSettings &settings, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_settings(settings)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, m_settings.selectedColor);
        DrawPrettyText(*painter, option.rect, index.data(Qt::DisplayRole).toString(), m_settings.font);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return QSize(m_settings.width, QFontMetrics(m_settings.font).height() + 2);
    }

private:
    const TIntellisenseSettings &m_settings;
};

class TIntellisensePopup : public QListWidget {
public:
    explicit TIntellisensePopup(const TIntellisenseSettings &settings)
        : QListWidget(nullptr)
    {
        setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        setItemDelegate(new TPrettyTextDelegate(settings, this));
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setUniformItemSizes(true);
    }
};

// ---- TIntellisense

TIntellisense::TIntellisense(QObject *parent)
    : QObject(parent)
{
    m_settings.font = QFont(QStringLiteral("Tahoma"), 8);
    m_timer.setSingleShot(true);
    m_timer.setInterval(m_settings.timerInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_timerEditor && IsAttached(m_timerEditor) && m_timerEditor->isVisible())
            Execute(m_timerEditor);
    });
    for (const TCompletionItem &item : CompletionItems())
        AddItem(DisplayText(item), QString::fromLatin1(item.insertText));
}

TIntellisense::~TIntellisense()
{
    const auto editors = m_connections.keys();
    for (TSourceEditor *editor : editors)
        Detach(editor);
    delete m_popup;
}

const std::vector<TCompletionItem> &TIntellisense::Items()
{
    return CompletionItems();
}

QString TIntellisense::KindName(TCompletionKind kind)
{
    return QString::fromLatin1(CompletionKindName(kind));
}

QString TIntellisense::KindColorName(TCompletionKind kind)
{
    return QString::fromLatin1(CompletionKindColorName(kind));
}

QColor TIntellisense::KindColor(TCompletionKind kind)
{
    return ColorByName(KindColorName(kind));
}

QString TIntellisense::DisplayText(const TCompletionItem &item)
{
    return KindName(item.kind) + QStringLiteral(" \\column{}\\style{+B}\\color{") + KindColorName(item.kind) +
        QStringLiteral("} ") + QString::fromLatin1(item.insertText) + QStringLiteral("\\style{-B}\\color{0}") +
        QString::fromLatin1(item.hint);
}

void TIntellisense::AddItem(const QString &displayText, const QString &insertText)
{
    m_itemList.append(displayText);
    m_insertList.append(insertText);
}

QList<int> TIntellisense::Filter(const QString &word) const
{
    const Qt::CaseSensitivity cs = m_settings.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QList<int> result;
    for (int i = 0; i < m_insertList.size(); ++i)
        if (m_insertList[i].startsWith(word, cs))
            result.append(i);
    return result;
}

// ---- editors

void TIntellisense::Attach(TSourceEditor *editor)
{
    if (!editor || IsAttached(editor))
        return;
    QList<QMetaObject::Connection> list;
    list.append(
        connect(editor, &QsciScintillaBase::SCN_CHARADDED, this, [this, editor](int ch) { CharAdded(editor, ch); }));
    list.append(connect(editor, &QsciScintillaBase::SCN_UPDATEUI, this, [this, editor](int) {
        if (m_popupEditor == editor && IsShowing())
            Refilter();
    }));
    m_connections.insert(editor, list);
    editor->installEventFilter(this);
}

void TIntellisense::Detach(TSourceEditor *editor)
{
    const auto it = m_connections.find(editor);
    if (it == m_connections.end())
        return;
    for (const auto &connection : *it)
        disconnect(connection);
    m_connections.erase(it);
    editor->removeEventFilter(this);
    if (m_popupEditor == editor)
        Cancel();
    if (m_timerEditor == editor)
        m_timer.stop();
}

long TIntellisense::WordStart(TSourceEditor *editor) const
{
    const long caret = editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    long start = caret;
    while (start > 0) {
        const long prev = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONBEFORE, start);
        const auto ch = static_cast<char>(editor->SendScintilla(QsciScintillaBase::SCI_GETCHARAT, prev));
        if (!IsCompletionWordChar(QChar::fromLatin1(ch)) || (static_cast<unsigned char>(ch) >= 0x80))
            break;
        start = prev;
    }
    return start;
}

QString TIntellisense::WordBeforeCaret(TSourceEditor *editor) const
{
    const long start = WordStart(editor);
    const long caret = editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    QByteArray bytes(static_cast<int>(caret - start) + 1, '\0');
    editor->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, start, caret, bytes.data());
    bytes.chop(1);
    return QString::fromUtf8(bytes);
}

void TIntellisense::Execute(TSourceEditor *editor)
{
    m_timer.stop();
    if (!IsAttached(editor))
        return;
    const QList<int> matches = Filter(WordBeforeCaret(editor));
    if (matches.isEmpty()) {
        Cancel();
        return;
    }
    m_popupStart = WordStart(editor);
    ShowAt(editor, matches);
}

void TIntellisense::ShowAt(TSourceEditor *editor, const QList<int> &matches)
{
    if (!m_popup) {
        m_popup = new TIntellisensePopup(m_settings);
        connect(m_popup, &QListWidget::itemDoubleClicked, this, [this] { Accept(); });
    }
    m_popupEditor = editor;
    m_popup->clear();
    for (int index : matches) {
        auto *item = new QListWidgetItem(m_itemList[index], m_popup);
        item->setData(Qt::UserRole, index);
    }
    m_popup->setCurrentRow(0);
    const int rowHeight = m_popup->sizeHintForRow(0);
    const int rows = std::min<int>(m_settings.visibleLines, static_cast<int>(matches.size()));
    m_popup->resize(m_settings.width, rows * rowHeight + 2 * m_popup->frameWidth());
    const long pos = m_popupStart;
    const int x = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, pos));
    const int y = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, pos));
    const int height = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
    m_popup->move(editor->viewport()->mapToGlobal(QPoint(x, y + height)));
    m_popup->show();
}

bool TIntellisense::IsShowing() const
{
    return m_popup && m_popup->isVisible();
}

QStringList TIntellisense::ShownInsertTexts() const
{
    QStringList texts;
    if (!IsShowing())
        return texts;
    for (int row = 0; row < m_popup->count(); ++row)
        texts.append(m_insertList[m_popup->item(row)->data(Qt::UserRole).toInt()]);
    return texts;
}

void TIntellisense::Refilter()
{
    TSourceEditor *editor = m_popupEditor;
    const long caret = editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    if (caret < m_popupStart || WordStart(editor) != m_popupStart) {
        Cancel();
        return;
    }
    const QList<int> matches = Filter(WordBeforeCaret(editor));
    if (matches.isEmpty()) {
        Cancel();
        return;
    }
    ShowAt(editor, matches);
}

void TIntellisense::Accept()
{
    TSourceEditor *editor = m_popupEditor;
    if (!IsShowing() || !editor || !m_popup->currentItem()) {
        Cancel();
        return;
    }
    const QString insert = m_insertList[m_popup->currentItem()->data(Qt::UserRole).toInt()];
    Cancel();
    const long caret = editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    editor->SendScintilla(QsciScintillaBase::SCI_SETSELECTION, caret, WordStart(editor));
    editor->replaceSelectedText(insert);
}

void TIntellisense::Cancel()
{
    if (m_popup)
        m_popup->hide();
    m_popupEditor = nullptr;
}

void TIntellisense::CharAdded(TSourceEditor *editor, int ch)
{
    if (IsShowing())
        return;
    if (ch > 0 && ch < 128 && m_settings.triggerChars.contains(QChar(ch))) {
        m_timerEditor = editor;
        m_timer.start();
    } else {
        m_timer.stop();
    }
}

bool TIntellisense::eventFilter(QObject *watched, QEvent *event)
{
    auto *editor = static_cast<TSourceEditor *>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        return HandleKey(editor, static_cast<QKeyEvent *>(event));
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::MouseButtonPress:
        m_timer.stop();
        if (m_popupEditor == editor)
            Cancel();
        break;
    default:
        break;
    }
    return false;
}

// Keys of an attached editor: the shortcut opens the popup; while it is
// shown, the arrows and pages move in it, Tab and Enter accept, Escape
// closes, and an end-of-token character accepts and is typed as well.
bool TIntellisense::HandleKey(TSourceEditor *editor, QKeyEvent *event)
{
    if (m_forwarding)
        return false;
    const QKeySequence pressed(event->keyCombination());
    if (pressed == m_settings.shortCut) {
        Execute(editor);
        return true;
    }
    if (!IsShowing() || m_popupEditor != editor) {
        if (event->text().isEmpty())
            m_timer.stop();
        return false;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QCoreApplication::sendEvent(m_popup, event);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Accept();
        return true;
    case Qt::Key_Escape:
        Cancel();
        return true;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() == 1 && m_settings.endOfTokenChars.contains(text[0])) {
        Accept();
        return false;
    }
    // Any other key edits the text first; the list then follows the word.
    m_forwarding = true;
    QCoreApplication::sendEvent(editor, event);
    m_forwarding = false;
    if (IsShowing())
        Refilter();
    return true;
}
