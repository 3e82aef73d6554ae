#pragma once

#include <QString>
#include <QStringList>

// Where this system's serial devices are found; tests give folders of their
// own with files named as devices.
struct TDeviceFolders {
    QString dev = QStringLiteral("/dev");
    QString sysClassTty = QStringLiteral("/sys/class/tty"); // a ttyS port's "type" (0: no UART behind it)
};

namespace SerialDevices {

// The serial devices that exist, sorted by name: USB adapters (ttyUSB,
// ttyACM), on-chip and Bluetooth ports, and the ttyS ports that have a UART
// behind them. Each is followed by its /dev/serial/by-id names, which stay
// the same when an adapter is plugged in again.
QStringList List(const TDeviceFolders &folders);

// The /dev/serial/by-id names of a device (the links that lead to it).
QStringList LinksTo(const QString &device, const TDeviceFolders &folders);

} // namespace SerialDevices
