// The INI reader on any bytes as the settings file: every reader of the
// settings and layout records, the start-up preparation, and a write that
// must read back as written, from the object that wrote it and from the file.
// The file lies in a private folder in memory-backed storage, removed again
// when the program ends.
#include "IniFile.h"
#include "Layout.h"
#include "Settings.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

QString Folder()
{
    const QString base = QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + QStringLiteral("/korvid-ini-fuzz-%1").arg(getpid());
}

const QString &FilePath()
{
    static const QString path = [] {
        QDir().mkpath(Folder());
        std::atexit([] { QDir(Folder()).removeRecursively(); });
        return Folder() + QStringLiteral("/Korvid.ini");
    }();
    return path;
}

void ReadEveryRecord(const TIniFile &ini)
{
    Settings::ReadWorkspace(ini, QStringLiteral("/opt/velmo/"));
    Settings::ReadComDevice(ini);
    Settings::ReadTerminal(ini);
    Settings::ReadMacros(ini);
    Settings::ReadLastTransferFile(ini);
    Layout::ReadPlacement(ini);
    Layout::ReadPanel(ini);
    Layout::ReadToolBars(ini);
}

// Sections and keys of the records, so a write may replace what is there.
const char *const kSections[] = {"Macros", "ToolBars", "MainForm", "Fuzz"};
const char *const kKeys[] = {"Macro0", "Name1", "Left", "Key"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile file(FilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    TIniFile ini(FilePath());
    ReadEveryRecord(ini);
    ini.ReadSection(QString::fromLatin1(kSections[size % 4]));
    Settings::PrepareAppRoot(FilePath(), QStringLiteral("/opt/velmo/"));

    const QString section = QString::fromLatin1(kSections[size % 4]);
    const QString key = QString::fromLatin1(kKeys[(size / 4) % 4]);
    ini.WriteString(section, key, QStringLiteral("written value"));
    if (ini.ReadString(section, key, QString()) != QLatin1String("written value") ||
        TIniFile(FilePath()).ReadString(section, key, QString()) != QLatin1String("written value"))
        std::abort();
    return 0;
}
