#include "SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The names serial devices have; a ttyS port exists for every possible UART,
// so only one the kernel found hardware for is listed.
struct TDeviceKind {
    const char *prefix;
    bool needsUart;
};

const TDeviceKind kDeviceKinds[] = {
    {"ttyUSB", false}, {"ttyACM", false}, {"ttyAMA", false}, {"rfcomm", false}, {"ttyS", true},
};

QString ByIdDir(const TDeviceFolders &folders)
{
    return folders.dev + QStringLiteral("/serial/by-id");
}

bool HasUart(const QString &name, const TDeviceFolders &folders)
{
    QFile type(folders.sysClassTty + '/' + name + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const int value = type.readAll().trimmed().toInt(&ok);
    return ok && value != 0;
}

bool IsSerialDevice(const QString &name, const TDeviceFolders &folders)
{
    for (const TDeviceKind &kind : kDeviceKinds) {
        const QString prefix = QString::fromLatin1(kind.prefix);
        static const QRegularExpression digits(QStringLiteral("^\\d+$"));
        if (name.startsWith(prefix) && digits.match(name.mid(prefix.size())).hasMatch())
            return !kind.needsUart || HasUart(name, folders);
    }
    return false;
}

// Natural order: ttyUSB2 before ttyUSB10.
bool ComesBefore(const QString &a, const QString &b)
{
    static const QRegularExpression number(QStringLiteral("\\d+$"));
    const QString stemA = QString(a).remove(number);
    const QString stemB = QString(b).remove(number);
    if (stemA != stemB)
        return stemA < stemB;
    return a.mid(stemA.size()).toInt() < b.mid(stemB.size()).toInt();
}

} // namespace

namespace SerialDevices {

QStringList LinksTo(const QString &device, const TDeviceFolders &folders)
{
    const QString target = QFileInfo(device).canonicalFilePath();
    QStringList links;
    if (target.isEmpty())
        return links;
    const QDir byId(ByIdDir(folders));
    for (const QFileInfo &link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        if (link.isSymLink() && link.canonicalFilePath() == target)
            links << link.filePath();
    return links;
}

QStringList List(const TDeviceFolders &folders)
{
    QStringList names = QDir(folders.dev).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    names.removeIf([&folders](const QString &name) { return !IsSerialDevice(name, folders); });
    std::sort(names.begin(), names.end(), ComesBefore);
    QStringList devices;
    for (const QString &name : names) {
        const QString device = folders.dev + '/' + name;
        devices << device << LinksTo(device, folders);
    }
    return devices;
}

} // namespace SerialDevices
