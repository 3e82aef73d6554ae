#pragma once

#include "LineSettings.h"
#include "SerialDevices.h"
#include "Settings.h"

#include <QString>
#include <QStringList>
#include <functional>

// The serial and terminal settings in force, each with a mark that says the
// settings dialog changed them since they were last applied.

struct TPortSettings {
    QString ComPort = QStringLiteral("COM1"); // a "COMn" choice or a device path
    TLineSettings Line;
    bool Changed = false;
};

struct TTerminalSettings {
    QStringList Macros;
    bool Echo = false;
    bool HexMode = false;
    bool CRLFIn = false;
    bool CRLFOut = false;
    bool Changed = false;
};

// Both records of one workbench: the settings dialog fills them, the main
// window applies what is marked changed.
struct TLinkSettings {
    TPortSettings Port;
    TTerminalSettings Terminal;
    // The devices the settings dialog offers besides the simulated module and
    // the current choice; none given, the serial devices in Folders.
    std::function<QStringList()> OfferedDevices;
    // Where serial devices and their by-id names are found.
    TDeviceFolders Folders;
};

namespace PortSettingsMap {

// The settings file's captions and the records: "Baudrate" by its index in
// the choices, "Databits" "7"/"8" as db7/db8, "Stopbits" "1"/"2" as
// sb10/sb20, "Parity" "none"/"odd"/"even"; unknown captions give the first.
TPortSettings FromState(const TComDeviceState &state);
TComDeviceState ToState(const TPortSettings &settings);
TTerminalSettings FromState(const TTerminalState &state, const QStringList &macros);
TTerminalState ToState(const TTerminalSettings &settings);

// Both records as the settings file holds them (a file that names no device
// gives the simulated module, a first start). A device name that is only
// blanks leaves both records as they are. Marks nothing changed.
void ReadRecords(const TIniFile &ini, TLinkSettings &settings);

} // namespace PortSettingsMap
