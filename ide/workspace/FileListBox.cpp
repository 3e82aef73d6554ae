#include "FileListBox.h"

#include "Errors.h"
#include "MsgDlg.h"
#include "StandardIcon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <cerrno>
#include <unistd.h>

namespace {

constexpr int IsDirectoryRole = Qt::UserRole;
constexpr int MinRowHeight = 17;
constexpr int ImageLeft = 2;
constexpr int ImageTop = 1;
constexpr int ImageSize = 16;
constexpr int TextLeft = 25;
constexpr int TextTop = 1;
constexpr int LinesPerNotch = 2;
constexpr int WheelNotch = 120;
const QColor SelectedBackground(120, 120, 120);

[[noreturn]] void ThrowFileError(const QString &what, const QString &path, int error)
{
    throw EKorvidError(QStringLiteral("%1 \"%2\": %3").arg(what, path, SystemErrorText(error)));
}

void MakeCurrent(const QString &path)
{
    if (::chdir(QFile::encodeName(path).constData()) != 0)
        ThrowFileError(QStringLiteral("Unable to open the folder"), path, errno);
}

QString NormalisedDirectory(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

QIcon TExtensionIcons::IconFor(const QString &fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    const qsizetype index = m_extensions.indexOf(extension);
    if (index >= 0)
        return m_icons[index];
    const QString sample = extension.isEmpty() ? QStringLiteral("file") : QStringLiteral("file.") + extension;
    QIcon icon = m_provider.icon(QFileInfo(sample));
    if (icon.isNull()) // a desktop without an icon theme
        icon = StandardIcon(QStyle::SP_FileIcon);
    m_extensions.append(extension);
    m_icons.append(icon);
    return m_icons.last();
}

// Draws each row itself: a folder picture or the file type's icon, then the
// name without brackets.
class TFileItemDelegate : public QStyledItemDelegate {
public:
    explicit TFileItemDelegate(TImageFileListBox *list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width() + TextLeft, m_list->RowHeight());
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QRect row = option.rect;
        painter->save();
        painter->fillRect(row, selected ? SelectedBackground : option.palette.base().color());
        const QRect imageRect(row.left() + ImageLeft, row.top() + ImageTop, ImageSize, ImageSize);
        ImageOf(index).paint(painter, imageRect);
        painter->setPen(option.palette.color(selected ? QPalette::Base : QPalette::Text));
        painter->setFont(option.font);
        const QRect textRect = row.adjusted(TextLeft, TextTop, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ShownName(index));
        painter->restore();
    }

private:
    static bool IsDirectory(const QModelIndex &index)
    {
        return index.data(IsDirectoryRole).toBool();
    }

    static QString ShownName(const QModelIndex &index)
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        return IsDirectory(index) ? FolderNameOf(text) : text;
    }

    QIcon ImageOf(const QModelIndex &index) const
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!IsDirectory(index))
            return m_list->m_icons.IconFor(text);
        if (text == QLatin1String("[..]"))
            return m_list->m_parentFolderImage;
        return m_list->m_folderImage;
    }

    TImageFileListBox *m_list;
};

TImageFileListBox::TImageFileListBox(QWidget *parent)
    : QListWidget(parent)
    , m_folderImage(StandardIcon(QStyle::SP_DirIcon))
    , m_parentFolderImage(StandardIcon(QStyle::SP_FileDialogToParent))
{
    setItemDelegate(new TFileItemDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QString TImageFileListBox::SelectedText() const
{
    const QListWidgetItem *item = currentItem();
    if (!item || !item->isSelected())
        return QString();
    return item->text();
}

QStringList TImageFileListBox::ItemTexts() const
{
    QStringList texts;
    for (int i = 0; i < count(); ++i)
        texts.append(item(i)->text());
    return texts;
}

int TImageFileListBox::RowHeight() const
{
    // The text height is the font's line height, the same for every text.
    return std::max(fontMetrics().height() + 2, MinRowHeight);
}

void TImageFileListBox::SetDirectory(const QString &path)
{
    const QString directory = NormalisedDirectory(path);
    if (directory != m_directory)
        ReadDirectory(directory);
}

void TImageFileListBox::SetFilter(unsigned bits)
{
    m_filter = bits;
    RefreshList();
}

void TImageFileListBox::RefreshList()
{
    if (m_directory.isEmpty())
        return;
    const QString oldText = SelectedText();
    const int oldSelected = oldText.isEmpty() ? -1 : currentRow();
    const int oldTop = TopRow();
    ReadDirectory(m_directory);
    const TListPlace place = RestoreListPlace(m_items, oldSelected, oldText, oldTop);
    if (place.Selected >= 0)
        setCurrentRow(place.Selected);
    if (place.TopRow >= 0)
        ScrollToTopRow(place.TopRow);
}

void TImageFileListBox::ReadDirectory(const QString &path)
{
    const TFileItems items = ReadDirectoryItems(path);
    MakeCurrent(path);
    m_directory = path;
    ShowItems(ArrangeItems(items, m_filter));
    DoChange();
}

void TImageFileListBox::ShowItems(const TFileItems &items)
{
    m_items = items;
    clear();
    for (const TFileItem &entry : items) {
        auto *row = new QListWidgetItem(entry.Text, this);
        row->setData(IsDirectoryRole, entry.IsDirectory);
    }
}

int TImageFileListBox::TopRow() const
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : -1;
}

void TImageFileListBox::ScrollToTopRow(int row)
{
    verticalScrollBar()->setValue(row);
}

bool TImageFileListBox::SelectedIsDirectory() const
{
    const QListWidgetItem *row = currentItem();
    return row && row->data(IsDirectoryRole).toBool();
}

void TImageFileListBox::DeleteSelected()
{
    const QString name = SelectedText();
    if (name.isEmpty() || SelectedIsDirectory())
        return;
    const QString fullName = JoinPath(m_directory, name);
    if (!QFileInfo(fullName).isFile())
        return;
    if (!ConfirmDelete(name))
        return;
    if (::unlink(QFile::encodeName(fullName).constData()) != 0)
        ThrowFileError(QStringLiteral("Unable to delete the file"), fullName, errno);
    RefreshList();
}

void TImageFileListBox::OpenSelected()
{
    const QString text = SelectedText();
    if (text.isEmpty())
        return;
    if (!SelectedIsDirectory())
        DoFileDblClick(text);
    else if (text == QLatin1String("[..]"))
        SetDirectory(ParentDirectory(m_directory));
    else
        SetDirectory(JoinPath(m_directory, FolderNameOf(text)));
}

void TImageFileListBox::DoChange()
{
    if (OnChange)
        OnChange();
}

void TImageFileListBox::DoFileDblClick(const QString &name)
{
    if (OnFileDblClick)
        OnFileDblClick(name);
}

bool TImageFileListBox::ConfirmDelete(const QString &name)
{
    const QString help = QStringLiteral("Do you really want to delete \"%1\"?").arg(name);
    return ShowMessageDlg(mkConfirmation, QStringLiteral("Confirm delete."), help, false) == mrYes;
}

void TImageFileListBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OpenSelected();
        break;
    case Qt::Key_Delete:
        DeleteSelected();
        break;
    default:
        QListWidget::keyPressEvent(event);
    }
}

void TImageFileListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        OpenSelected();
}

void TImageFileListBox::wheelEvent(QWheelEvent *event)
{
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / WheelNotch;
    m_wheelRemainder -= notches * WheelNotch;
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->value() - notches * LinesPerNotch);
    event->accept();
}
