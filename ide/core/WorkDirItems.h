#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One row of the working-directory list: a folder shown as "[name]" (the
// parent as "[..]") or a file shown by its plain name. The kind is kept
// beside the text so that a file whose name happens to start with "[" is
// still treated as a file.
struct TFileItem {
    QString Text;
    bool IsDirectory = false;

    bool operator==(const TFileItem &) const = default;
};
using TFileItems = QList<TFileItem>;

// The filter buttons of the working-directory toolbar, one bit each (their
// captions and hints are in the toolbar's command table).
struct TFileFilter {
    unsigned Bit;
    const char *ButtonName;
    const char *Extension;
};
const QList<TFileFilter> &FileFilters();

constexpr unsigned FilterBas = 1u << 0;
constexpr unsigned FilterLst = 1u << 1;
constexpr unsigned FilterHex = 1u << 2;

// The entries of a directory as the list shows them before arranging: every
// entry but hidden and special ones, "[.]" and "[..]" included, sorted
// without regard to case. Throws EKorvidError when the directory
// cannot be read.
TFileItems ReadDirectoryItems(const QString &directory);

// Drops "[.]", moves the folders to the top (keeping their order) and, with
// a filter set, drops the files whose extension matches none of its bits.
TFileItems ArrangeItems(const TFileItems &items, unsigned filter);

// The directory one level up; the root and a name without separator stay
// as they are.
QString ParentDirectory(const QString &directory);

// The entry "name" inside directory.
QString JoinPath(const QString &directory, const QString &name);

// Files of these types open in an editor; others go to the desktop.
bool IsEditorFileType(const QString &fileName);

// The folder name of a "[name]" item.
QString FolderNameOf(const QString &itemText);

// Where the user's place lands after the list was read again.
struct TListPlace {
    int Selected = -1; // row to select, -1 for none
    int TopRow = -1; // row to scroll to the top, -1 to leave the scroll
};
TListPlace RestoreListPlace(const TFileItems &items, int oldSelected, const QString &oldSelectedText, int oldTopRow);
