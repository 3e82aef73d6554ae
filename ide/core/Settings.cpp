#include "Settings.h"

#include "RecentFiles.h"

#include <QDir>
#include <QFileInfo>

namespace Settings {

const QString kSimulatedModule = QStringLiteral("Simulated module");
const QStringList PortChoices = {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", "COM10"};
const QStringList BaudrateChoices = {"300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115.2k"};
const QStringList DatabitsChoices = {"7", "8"};
const QStringList StopbitsChoices = {"1", "2"};
const QStringList ParityChoices = {"none", "odd", "even"};
const QStringList EmulationChoices = {"ASCII", "HEX"};

namespace {

const QString kMru = QStringLiteral("MRUFiles");
const QString kFolders = QStringLiteral("Folders");
const QString kHistory = QStringLiteral("FindReplaceHistory");
const QString kComDevice = QStringLiteral("COM-Device");
const QString kTerminal = QStringLiteral("Terminal");
const QString kMacros = QStringLiteral("Macros");
const QString kTransfer = QStringLiteral("Transfer");
const QString kAppRoot = QStringLiteral("<approot>");

// A root ("/" or a drive root "C:/") keeps its separator.
bool IsRoot(const QString &dir)
{
    return dir.size() == 1 || (dir.size() == 3 && dir[1] == ':');
}

// The stored form of a directory: no trailing separator except for a root.
QString WithoutTrailingSeparator(QString dir)
{
    while ((dir.endsWith('/') || dir.endsWith('\\')) && !IsRoot(dir))
        dir.chop(1);
    return dir;
}

QStringList ReadHistory(const TIniFile &ini, const QString &prefix)
{
    QStringList history;
    for (int n = 0; n < TWorkspaceState::MaxHistory; ++n) {
        const QString value = ini.ReadString(kHistory, prefix + QString::number(n), QString());
        if (!value.isEmpty())
            history << value;
    }
    return history;
}

void WriteList(TIniFile &ini, const QString &section, const QString &prefix, const QStringList &list)
{
    for (int n = 0; n < list.size(); ++n)
        ini.WriteString(section, prefix + QString::number(n), list[n]);
}

// A missing key gives the default; a stored text that is none of the
// captions gives the first caption.
QString ReadChoice(const TIniFile &ini, const QString &section, const QString &key, const QStringList &choices,
                   const QString &def)
{
    return MatchChoice(choices, ini.ReadString(section, key, def));
}

} // namespace

QString MatchChoice(const QStringList &choices, const QString &text)
{
    for (const QString &choice : choices)
        if (choice.compare(text, Qt::CaseInsensitive) == 0)
            return choice;
    return choices.first();
}

TWorkspaceState ReadWorkspace(const TIniFile &ini, const QString &programDir)
{
    TWorkspaceState s;
    TRecentFiles recent;
    for (int n = TWorkspaceState::MaxRecentFiles - 1; n >= 0; --n)
        recent.AddFile(ini.ReadString(kMru, "File" + QString::number(n), QString()));
    s.recentFiles = recent.Files();
    s.workingDir = ini.ReadString(kFolders, "WorkingDir", programDir);
    if (s.workingDir.isEmpty() || !QFileInfo(s.workingDir).isDir())
        s.workingDir = programDir;
    s.filterBas = ini.ReadInteger(kFolders, "FilterBas", 0) == 1;
    s.filterLst = ini.ReadInteger(kFolders, "FilterLst", 0) == 1;
    s.filterHex = ini.ReadInteger(kFolders, "FilterHex", 0) == 1;
    s.searchHistory = ReadHistory(ini, "Search");
    s.replaceHistory = ReadHistory(ini, "Replace");
    return s;
}

void WriteWorkspace(TIniFile &ini, const TWorkspaceState &s)
{
    WriteList(ini, kMru, "File", s.recentFiles.mid(0, TWorkspaceState::MaxRecentFiles));
    ini.WriteString(kFolders, "WorkingDir", WithoutTrailingSeparator(s.workingDir));
    ini.WriteInteger(kFolders, "FilterBas", s.filterBas ? 1 : 0);
    ini.WriteInteger(kFolders, "FilterLst", s.filterLst ? 1 : 0);
    ini.WriteInteger(kFolders, "FilterHex", s.filterHex ? 1 : 0);
    WriteList(ini, kHistory, "Search", s.searchHistory.mid(0, TWorkspaceState::MaxHistory));
    WriteList(ini, kHistory, "Replace", s.replaceHistory.mid(0, TWorkspaceState::MaxHistory));
}

TComDeviceState ReadComDevice(const TIniFile &ini)
{
    TComDeviceState s;
    const QString port = ini.ReadString(kComDevice, "Port", s.port);
    // A typed device path (a serial adapter or a pseudo-terminal) and the
    // simulated module are kept.
    if (port.startsWith('/'))
        s.port = port;
    else if (port.trimmed().compare(kSimulatedModule, Qt::CaseInsensitive) == 0)
        s.port = kSimulatedModule;
    else
        s.port = MatchChoice(PortChoices, port);
    s.baudrate = ReadChoice(ini, kComDevice, "Baudrate", BaudrateChoices, s.baudrate);
    s.databits = ReadChoice(ini, kComDevice, "Databits", DatabitsChoices, s.databits);
    s.stopbits = ReadChoice(ini, kComDevice, "Stopbits", StopbitsChoices, s.stopbits);
    s.parity = ReadChoice(ini, kComDevice, "Parity", ParityChoices, s.parity);
    return s;
}

bool NamesComDevice(const TIniFile &ini)
{
    return !ini.ReadString(kComDevice, "Port", QString()).trimmed().isEmpty();
}

void WriteComDevice(TIniFile &ini, const TComDeviceState &s)
{
    ini.WriteString(kComDevice, "Port", s.port);
    ini.WriteString(kComDevice, "Baudrate", s.baudrate);
    ini.WriteString(kComDevice, "Databits", s.databits);
    ini.WriteString(kComDevice, "Stopbits", s.stopbits);
    ini.WriteString(kComDevice, "Parity", s.parity);
}

TTerminalState ReadTerminal(const TIniFile &ini)
{
    TTerminalState s;
    s.emulation = ReadChoice(ini, kTerminal, "Emulation", EmulationChoices, s.emulation);
    s.echo = ini.ReadBool(kTerminal, "Echo", false);
    s.crlfIn = ini.ReadBool(kTerminal, "CRLF(In)", false);
    s.crlfOut = ini.ReadBool(kTerminal, "CRLF(Out)", false);
    return s;
}

void WriteTerminal(TIniFile &ini, const TTerminalState &s)
{
    ini.WriteString(kTerminal, "Emulation", s.emulation);
    ini.WriteBool(kTerminal, "Echo", s.echo);
    ini.WriteBool(kTerminal, "CRLF(In)", s.crlfIn);
    ini.WriteBool(kTerminal, "CRLF(Out)", s.crlfOut);
}

QStringList ReadMacros(const TIniFile &ini)
{
    QStringList macros;
    for (int n = 0;; ++n) {
        const QString value = ini.ReadString(kMacros, "Macro" + QString::number(n), QString());
        if (value.isEmpty())
            return macros;
        macros << value;
    }
}

void WriteMacros(TIniFile &ini, const QStringList &macros)
{
    ini.EraseSection(kMacros);
    WriteList(ini, kMacros, "Macro", macros);
}

QString ReadLastTransferFile(const TIniFile &ini)
{
    return ini.ReadString(kTransfer, "LastFile", QStringLiteral("<noname>"));
}

void WriteLastTransferFile(TIniFile &ini, const QString &fileName)
{
    ini.WriteString(kTransfer, "LastFile", fileName);
}

QString UnreadableMessage(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Cannot read the settings file \"%1\": %2. Korvid carries on with the default settings "
                          "and leaves the file as it is.")
        .arg(fileName, reason);
}

QString ExpandAppRoot(const QString &line, const QString &programDir)
{
    const int at = line.indexOf(kAppRoot, 0, Qt::CaseInsensitive);
    if (at < 0)
        return line;
    int after = at + kAppRoot.size();
    if (after < line.size() && (line[after] == '\\' || line[after] == '/'))
        ++after;
    return line.left(at) + programDir + line.mid(after);
}

void PrepareAppRoot(const QString &fileName, const QString &programDir)
{
    QStringList lines;
    QString error;
    if (!TIniFile::LoadLines(fileName, lines, error))
        return; // what an unreadable file holds is unknown: it is never written
    bool changed = false;
    for (QString &line : lines) {
        const QString expanded = ExpandAppRoot(line, programDir);
        changed = changed || expanded != line;
        line = expanded;
    }
    if (changed)
        TIniFile::SaveLines(fileName, lines);
}

} // namespace Settings

int TWorkspaceState::FilterBits() const
{
    return (filterBas ? 1 : 0) | (filterLst ? 2 : 0) | (filterHex ? 4 : 0);
}
