#include "LineSettings.h"

#include <QRegularExpression>

namespace {

struct TBaudEntry {
    int bitsPerSecond;
    speed_t speed;
};

const TBaudEntry kBaudTable[] = {
    {300, B300},   {600, B600},     {1200, B1200},   {2400, B2400},   {4800, B4800},
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

const char kDataBitDigits[] = "45678";
const char kParityLetters[] = "NOEMS";
const char *const kStopBitTexts[] = {"1", "1.5", "2"};

// "COM" and the number 1 to 10 of a numbered port, 0 for any other name.
int ComNumber(const QString &portName)
{
    static const QRegularExpression pattern(QStringLiteral("^COM([1-9]|10):?$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(portName);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// The character size flag; CS5 is 0, so this tells 4 data bits (which no
// device has on this platform) by its own result.
bool CharSize(TDataBits databits, tcflag_t &size)
{
    static const tcflag_t kSizes[] = {0, CS5, CS6, CS7, CS8};
    if (databits <= db4 || databits > db8)
        return false;
    size = kSizes[databits];
    return true;
}

tcflag_t ParityFlags(TParity parity)
{
    switch (parity) {
    case paODD:
        return PARENB | PARODD;
    case paEVEN:
        return PARENB;
    case paMARK:
        return PARENB | PARODD | CMSPAR;
    case paSPACE:
        return PARENB | CMSPAR;
    case paNONE:
        break;
    }
    return 0;
}

} // namespace

std::uint32_t TLineSettings::Pack() const
{
    return std::uint32_t(Baudrate) | std::uint32_t(Databits) << 8 | std::uint32_t(StopBits) << 16 |
        std::uint32_t(Parity) << 24;
}

TLineSettings TLineSettings::Unpack(std::uint32_t value)
{
    TLineSettings line;
    line.Baudrate = TBaudrate(value & 0xFF);
    line.Databits = TDataBits(value >> 8 & 0xFF);
    line.StopBits = TStopBits(value >> 16 & 0xFF);
    line.Parity = TParity(value >> 24 & 0xFF);
    return line;
}

namespace LineSettings {

bool BuildTermios(termios &t, const TLineSettings &line)
{
    tcflag_t size = 0;
    if (!CharSize(line.Databits, size))
        return false;
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= size | ParityFlags(line.Parity) | CREAD | CLOCAL;
    if (line.StopBits != sb10)
        t.c_cflag |= CSTOPB;
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return cfsetispeed(&t, Speed(line.Baudrate)) == 0 && cfsetospeed(&t, Speed(line.Baudrate)) == 0;
}

int BitsPerSecond(TBaudrate baudrate)
{
    return kBaudTable[baudrate <= br115200 ? baudrate : br9600].bitsPerSecond;
}

speed_t Speed(TBaudrate baudrate)
{
    return kBaudTable[baudrate <= br115200 ? baudrate : br9600].speed;
}

QString DevicePath(const QString &portName)
{
    const int number = ComNumber(portName);
    return number ? QStringLiteral("/dev/ttyS%1").arg(number - 1) : portName;
}

QString DisplayName(const QString &portName)
{
    const int number = ComNumber(portName);
    return number ? QStringLiteral("COM%1:").arg(number) : portName;
}

QString StatusText(const QString &portName, const TLineSettings &line)
{
    const int dataBits = line.Databits <= db8 ? line.Databits : db8;
    const int parity = line.Parity <= paSPACE ? line.Parity : paNONE;
    const int stopBits = line.StopBits <= sb20 ? line.StopBits : sb10;
    return QStringLiteral("%1 %2,%3,%4,%5")
        .arg(DisplayName(portName))
        .arg(BitsPerSecond(line.Baudrate))
        .arg(QChar(kDataBitDigits[dataBits]))
        .arg(QChar(kParityLetters[parity]))
        .arg(QString::fromLatin1(kStopBitTexts[stopBits]));
}

} // namespace LineSettings
