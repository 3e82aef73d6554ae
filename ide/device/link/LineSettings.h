#pragma once

#include <QString>
#include <cstdint>
#include <termios.h>

// The serial line's settings. The ordinal values index the tables below and
// are stored as one 32-bit value by the download, so their order is fixed.

enum TComPort : std::uint8_t { poCOM1, poCOM2, poCOM3, poCOM4, poCOM5, poCOM6, poCOM7, poCOM8, poCOM9, poCOM10 };
enum TBaudrate : std::uint8_t { br300, br600, br1200, br2400, br4800, br9600, br19200, br38400, br57600, br115200 };
enum TDataBits : std::uint8_t { db4, db5, db6, db7, db8 };
enum TStopBits : std::uint8_t { sb10, sb15, sb20 };
enum TParity : std::uint8_t { paNONE, paODD, paEVEN, paMARK, paSPACE };

// The four line settings as one value: byte 0 Baudrate, byte 1 Databits,
// byte 2 StopBits, byte 3 Parity.
struct TLineSettings {
    TBaudrate Baudrate = br9600;
    TDataBits Databits = db8;
    TStopBits StopBits = sb10;
    TParity Parity = paNONE;

    std::uint32_t Pack() const;
    static TLineSettings Unpack(std::uint32_t value);
    bool operator==(const TLineSettings &) const = default;
};

namespace LineSettings {

constexpr int kComPortCount = 10;

// Bits per second of a TBaudrate.
int BitsPerSecond(TBaudrate baudrate);
// The termios speed constant of a TBaudrate.
speed_t Speed(TBaudrate baudrate);

// Raw bytes with the line settings: no flow control, no parity checking,
// reads that return at once (time-outs are done with poll()). False when the
// platform has no such setting (4 data bits).
bool BuildTermios(termios &t, const TLineSettings &line);

// The device a port name opens: "COM1" … "COM10" (any letter case, with or
// without the colon) open /dev/ttyS0 … /dev/ttyS9; any other name is a
// device path and opens as it stands.
QString DevicePath(const QString &portName);

// The port as the status bar shows it: "COM1:" for the numbered ports, a
// device path as chosen.
QString DisplayName(const QString &portName);

// The status bar text of an open port: name, a blank, bit rate, data bits,
// parity letter and stop bits ("COM1: 9600,8,N,1").
QString StatusText(const QString &portName, const TLineSettings &line);

} // namespace LineSettings
