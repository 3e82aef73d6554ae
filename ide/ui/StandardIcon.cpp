#include "StandardIcon.h"

#include "SmallFirstIcon.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <filesystem>

namespace {

constexpr char kFallbackTheme[] = "hicolor";

// The name the style asks the icon theme for, for each picture given
// without the theme's index, and the files of the style's own picture (its
// "on" state: an open folder); any other picture goes to the style as is.
struct TThemeName {
    QStyle::StandardPixmap pixmap;
    const char *name;
    const char *picture;
    const char *openPicture;
};
constexpr TThemeName kThemeNames[] = {
    {QStyle::SP_DirIcon, "folder", "dirclosed", "diropen"},
    {QStyle::SP_FileDialogToParent, "go-up", "up", nullptr},
    {QStyle::SP_FileIcon, "text-x-generic", "file", nullptr},
};

// Where the style keeps its pictures, in sizes of 16, 32 and 128 pixels: the
// two small ones are read at once, the large one when it is drawn.
constexpr char kStylePictures[] = ":/qt-project.org/styles/commonstyle/images/%1-%2.png";
constexpr int kSmallPictureSizes[] = {16, 32};
constexpr char kPicturesStyle[] = "fusion";

// A folder no icon theme can be found in: while it is the only search path,
// the style falls back on its own pictures.
constexpr char kNoThemeFolder[] = ":/velmo-no-icon-theme";

const TThemeName *ThemeNameOf(QStyle::StandardPixmap which)
{
    for (const TThemeName &entry : kThemeNames) {
        if (entry.pixmap == which)
            return &entry;
    }
    return nullptr;
}

// The small files of the style's own picture; none where the style or its
// files are not the ones known here.
QList<TIconFile> SmallPictureFiles(const TThemeName &entry)
{
    QList<TIconFile> files;
    if (QApplication::style()->name().compare(QLatin1String(kPicturesStyle), Qt::CaseInsensitive) != 0)
        return files;
    for (const int size : kSmallPictureSizes) {
        files.append(
            {QString::fromLatin1(kStylePictures).arg(QLatin1String(entry.picture)).arg(size), size, QIcon::Off});
        if (entry.openPicture)
            files.append(
                {QString::fromLatin1(kStylePictures).arg(QLatin1String(entry.openPicture)).arg(size), size, QIcon::On});
    }
    for (const TIconFile &file : files) {
        if (!QFile::exists(file.fileName))
            return {};
    }
    return files;
}

// The names of the files in folder (and its subfolders when deep), without
// the extension. Folders on disk are read without Qt's file information,
// which costs much more per file.
void AddDiskFileNames(const std::filesystem::path &folder, bool deep, QSet<QString> &names)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const auto add = [&names](const fs::directory_entry &entry) {
        std::error_code fileError;
        if (entry.is_regular_file(fileError))
            names.insert(QString::fromStdString(entry.path().stem().string()));
    };
    if (!deep) {
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
            add(*it);
        return;
    }
    const auto options =
        fs::directory_options::follow_directory_symlink | fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(folder, options, error), end; !error && it != end; it.increment(error))
        add(*it);
}

void AddFileNames(const QString &folder, bool deep, QSet<QString> &names)
{
    if (!folder.startsWith(QLatin1Char(':'))) {
        AddDiskFileNames(std::filesystem::path(QFile::encodeName(folder).toStdString()), deep, names);
        return;
    }
    const auto flags = deep ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags;
    QDirIterator files(folder, QDir::Files, flags);
    while (files.hasNext()) {
        files.next();
        names.insert(files.fileInfo().completeBaseName());
    }
}

QSet<QString> ThemeFileNames(const QStringList &searchPaths, const QStringList &loosePaths)
{
    QSet<QString> names;
    for (const QString &path : searchPaths) {
        AddFileNames(path + QLatin1Char('/') + QLatin1String(kFallbackTheme), true, names);
        AddFileNames(path, false, names);
    }
    for (const QString &path : loosePaths)
        AddFileNames(path, false, names);
    return names;
}

// The theme takes a file named iconName or, failing that, a shorter name cut
// at one of its dashes.
bool HoldsName(const QSet<QString> &names, const QString &iconName)
{
    for (QString name = iconName; !name.isEmpty(); name.truncate(name.lastIndexOf(QLatin1Char('-')))) {
        if (names.contains(name))
            return true;
    }
    return false;
}

// Looked through once for all pictures, again only when the folders change.
bool ThemeMayHoldCached(const QString &iconName)
{
    static QStringList s_searchPaths;
    static QStringList s_loosePaths;
    static QSet<QString> s_names;
    static bool s_read = false;
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QStringList loosePaths = QIcon::fallbackSearchPaths();
    if (!s_read || searchPaths != s_searchPaths || loosePaths != s_loosePaths) {
        s_names = ThemeFileNames(searchPaths, loosePaths);
        s_searchPaths = searchPaths;
        s_loosePaths = loosePaths;
        s_read = true;
    }
    return HoldsName(s_names, iconName);
}

bool OnlyFallbackTheme()
{
    return QIcon::themeName() == QLatin1String(kFallbackTheme) &&
        (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String(kFallbackTheme));
}

QIcon StyleIconWithoutTheme(QStyle::StandardPixmap which)
{
    const QStringList searchPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({QLatin1String(kNoThemeFolder)});
    QIcon icon = QApplication::style()->standardIcon(which);
    QIcon::setThemeSearchPaths(searchPaths);
    return icon;
}

} // namespace

bool FallbackThemeMayHold(const QStringList &searchPaths, const QStringList &loosePaths, const QString &iconName)
{
    return HoldsName(ThemeFileNames(searchPaths, loosePaths), iconName);
}

QIcon StandardIcon(QStyle::StandardPixmap which)
{
    const TThemeName *entry = ThemeNameOf(which);
    if (!entry)
        return QApplication::style()->standardIcon(which);
    // Without any theme name the style takes its own pictures; with only the
    // fallback theme, when that holds none of the name.
    const bool noTheme = QIcon::themeName().isEmpty();
    if (!noTheme && (!OnlyFallbackTheme() || ThemeMayHoldCached(QLatin1String(entry->name))))
        return QApplication::style()->standardIcon(which);
    const QList<TIconFile> smallFiles = SmallPictureFiles(*entry);
    if (smallFiles.isEmpty())
        return StyleIconWithoutTheme(which);
    return SmallFirstIcon(smallFiles, [which] { return StyleIconWithoutTheme(which); });
}
