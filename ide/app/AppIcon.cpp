#include "AppIcon.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The sizes the package cuts the icon in (packaging/CMakeLists.txt).
constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QString IconFile(const QString &folder, int size, const QString &name)
{
    return QStringLiteral("%1/hicolor/%2x%2/apps/%3.png").arg(folder).arg(size).arg(name);
}

QStringList IconFolders()
{
    QStringList folders = {QDir::homePath() + QStringLiteral("/.icons")};
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(data + QStringLiteral("/icons"));
    return folders;
}

} // namespace

QIcon AppIconIn(const QStringList &iconFolders, const QString &name)
{
    QIcon icon;
    for (const int size : kIconSizes) {
        for (const QString &folder : iconFolders) {
            const QString file = IconFile(folder, size, name);
            if (QFileInfo::exists(file)) {
                icon.addFile(file, QSize(size, size)); // sized: not decoded here
                break;
            }
        }
    }
    return icon;
}

QIcon InstalledAppIcon(const QString &name)
{
    return AppIconIn(IconFolders(), name);
}
