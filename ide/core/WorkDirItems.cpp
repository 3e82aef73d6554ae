#include "WorkDirItems.h"

#include "Errors.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QChar Separator = QLatin1Char('/');

bool ItemLess(const TFileItem &a, const TFileItem &b)
{
    const int folded = a.Text.compare(b.Text, Qt::CaseInsensitive);
    if (folded != 0)
        return folded < 0;
    return a.Text < b.Text;
}

TFileItem ItemFor(const QFileInfo &info)
{
    if (info.isDir())
        return {QLatin1Char('[') + info.fileName() + QLatin1Char(']'), true};
    return {info.fileName(), false};
}

bool PassesFilter(const QString &fileName, unsigned filter)
{
    const QString lower = fileName.toLower();
    for (const TFileFilter &f : FileFilters()) {
        if ((filter & f.Bit) && lower.endsWith(QLatin1String(f.Extension)))
            return true;
    }
    return false;
}

} // namespace

const QList<TFileFilter> &FileFilters()
{
    static const QList<TFileFilter> filters = {
        {FilterBas, "FilterBasBtn", ".bas"},
        {FilterLst, "FilterLstBtn", ".lst"},
        {FilterHex, "FilterHexBtn", ".hex"},
    };
    return filters;
}

TFileItems ReadDirectoryItems(const QString &directory)
{
    QDir dir(directory);
    if (!dir.exists() || !dir.isReadable())
        throw EKorvidError(QStringLiteral("Unable to read the folder \"%1\".").arg(directory));
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries, QDir::NoSort);
    TFileItems items;
    items.reserve(entries.size());
    for (const QFileInfo &info : entries)
        items.append(ItemFor(info));
    std::sort(items.begin(), items.end(), ItemLess);
    return items;
}

TFileItems ArrangeItems(const TFileItems &items, unsigned filter)
{
    TFileItems folders;
    TFileItems files;
    for (const TFileItem &item : items) {
        if (item.IsDirectory) {
            if (item.Text != QLatin1String("[.]"))
                folders.append(item);
        } else if (filter == 0 || PassesFilter(item.Text, filter)) {
            files.append(item);
        }
    }
    return folders + files;
}

QString ParentDirectory(const QString &directory)
{
    const qsizetype cut = directory.lastIndexOf(Separator);
    if (cut < 0 || directory.size() == 1)
        return directory;
    if (cut == 0 || directory[cut - 1] == QLatin1Char(':'))
        return directory.left(cut + 1);
    return directory.left(cut);
}

QString JoinPath(const QString &directory, const QString &name)
{
    if (directory.endsWith(Separator))
        return directory + name;
    return directory + Separator + name;
}

bool IsEditorFileType(const QString &fileName)
{
    static const QStringList types = {".BAS", ".LST", ".HEX", ".LOG", ".TXT", ".INC"};
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.isEmpty())
        return false;
    return types.contains(QLatin1Char('.') + suffix.toUpper());
}

QString FolderNameOf(const QString &itemText)
{
    if (itemText.startsWith(QLatin1Char('[')) && itemText.endsWith(QLatin1Char(']')))
        return itemText.mid(1, itemText.size() - 2);
    return itemText;
}

TListPlace RestoreListPlace(const TFileItems &items, int oldSelected, const QString &oldSelectedText, int oldTopRow)
{
    const int count = int(items.size());
    if (!oldSelectedText.isEmpty()) {
        for (int i = 0; i < count; ++i) {
            if (items[i].Text.compare(oldSelectedText, Qt::CaseInsensitive) == 0)
                return {i, -1};
        }
    }
    TListPlace place;
    if (oldSelected >= 0 && oldSelected < count)
        place.Selected = oldSelected;
    if (oldTopRow >= 0 && oldTopRow < count)
        place.TopRow = oldTopRow;
    return place;
}
