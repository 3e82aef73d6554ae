#pragma once

#include "IniFile.h"

#include <QString>
#include <QStringList>

// What the workbench keeps in its settings file between runs, one record per
// group of keys, with the reading rules and defaults of each key.

// Sections "MRUFiles", "Folders" and "FindReplaceHistory" (main window).
struct TWorkspaceState {
    static constexpr int MaxRecentFiles = 5;
    static constexpr int MaxHistory = 20;

    QStringList recentFiles; // most recent first
    QString workingDir; // an existing directory
    bool filterBas = false; // filter buttons down
    bool filterLst = false;
    bool filterHex = false;
    QStringList searchHistory; // most recent first
    QStringList replaceHistory;

    // The working-directory list's filter: bit 0 .bas, bit 1 .lst, bit 2 .hex.
    int FilterBits() const;
};

// Section "COM-Device" (preferences dialog).
struct TComDeviceState {
    QString port = QStringLiteral("COM1");
    QString baudrate = QStringLiteral("9600");
    QString databits = QStringLiteral("8");
    QString stopbits = QStringLiteral("1");
    QString parity = QStringLiteral("none");
};

// Section "Terminal" (preferences dialog).
struct TTerminalState {
    QString emulation = QStringLiteral("ASCII");
    bool echo = false;
    bool crlfIn = false;
    bool crlfOut = false;
};

namespace Settings {

// The captions offered by the preferences dialog, first one the default.
extern const QStringList PortChoices;
extern const QStringList BaudrateChoices;
extern const QStringList DatabitsChoices;
extern const QStringList StopbitsChoices;
extern const QStringList ParityChoices;
extern const QStringList EmulationChoices;

// The device name of the simulated module, offered beside the ports; the
// device of a first start, when the settings file names none yet.
extern const QString kSimulatedModule;

// The caption that matches text without regard to case, else the first one.
QString MatchChoice(const QStringList &choices, const QString &text);

TWorkspaceState ReadWorkspace(const TIniFile &ini, const QString &programDir);
void WriteWorkspace(TIniFile &ini, const TWorkspaceState &state);

TComDeviceState ReadComDevice(const TIniFile &ini);
// Whether the settings file names a device yet (a "Port" with a text).
bool NamesComDevice(const TIniFile &ini);
void WriteComDevice(TIniFile &ini, const TComDeviceState &state);

TTerminalState ReadTerminal(const TIniFile &ini);
void WriteTerminal(TIniFile &ini, const TTerminalState &state);

// Macros: read up to the first missing or empty key; writing replaces the
// whole section so no stale entries survive.
QStringList ReadMacros(const TIniFile &ini);
void WriteMacros(TIniFile &ini, const QStringList &macros);

// Section "Transfer": the last file chosen for download, "<noname>" if none.
QString ReadLastTransferFile(const TIniFile &ini);
void WriteLastTransferFile(TIniFile &ini, const QString &fileName);

// Replaces the first "<approot>" of every line (any letter case), and a "\"
// or "/" right after it, by programDir; when that changed a line, rewrites
// the file with CR LF line ends. A file that is missing, cannot be read or
// holds no placeholder is left as it is.
void PrepareAppRoot(const QString &fileName, const QString &programDir);

// What the user is told about a settings or layout file that exists but
// cannot be read, with the system's reason.
QString UnreadableMessage(const QString &fileName, const QString &reason);

// The one-line form of PrepareAppRoot's replacement.
QString ExpandAppRoot(const QString &line, const QString &programDir);

} // namespace Settings
