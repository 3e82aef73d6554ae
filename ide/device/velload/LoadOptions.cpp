#include "LoadOptions.h"

#include "LineSettings.h"

namespace {

const char *const kUsage =
    "Usage: velload [--port DEVICE] [--baud RATE] [--data 7|8] [--parity none|odd|even] [--stop 1|2]\n"
    "               [--reset-only] [--monitor] <file.hex>\n"
    "\n"
    "Downloads a HEX file into a Velmo module over a serial line: the reset command,\n"
    "the \"OK\" handshake at 9600 bit/s 8N1, then one record at a time, each answered\n"
    "with \".\".\n"
    "\n"
    "  --port DEVICE   the serial device: COM1 ... COM10, a device path, or \"sim\"\n"
    "                  for the simulated module (velsim beside velload, started\n"
    "                  for the run and ended with it)\n"
    "  --baud RATE     300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200\n"
    "  --data 7|8      data bits\n"
    "  --parity P      none, odd or even\n"
    "  --stop 1|2      stop bits\n"
    "  --reset-only    send the reset command only (no file)\n"
    "  --monitor       stay connected: module output to standard output, standard\n"
    "                  input to the module, until end of input or Ctrl+C\n"
    "  --help          show this text\n"
    "\n"
    "Options not given take the workbench's settings (Korvid.ini beside velload,\n"
    "else in the user's configuration folder), else COM1 at 9600 8N1.\n"
    "Exit status: 0 success, 1 the transfer failed, 2 usage error or unreadable file.\n";

struct TValueOption {
    const char *name;
    std::optional<QString> TLoadOptions::*field;
};

const TValueOption kValueOptions[] = {
    {"--port", &TLoadOptions::port},     {"--baud", &TLoadOptions::baudrate}, {"--data", &TLoadOptions::databits},
    {"--parity", &TLoadOptions::parity}, {"--stop", &TLoadOptions::stopbits},
};

// "115200" and the settings file's "115.2k" name the same rate.
std::optional<QString> BaudCaption(const QString &value)
{
    for (int i = 0; i < Settings::BaudrateChoices.size(); ++i) {
        const QString caption = Settings::BaudrateChoices[i];
        if (value == caption || value == QString::number(LineSettings::BitsPerSecond(TBaudrate(i))))
            return caption;
    }
    return std::nullopt;
}

bool CheckValue(TLoadOptions &o, QString &error)
{
    if (o.baudrate) {
        const auto caption = BaudCaption(*o.baudrate);
        if (!caption) {
            error = QStringLiteral("unknown bit rate \"%1\"").arg(*o.baudrate);
            return false;
        }
        o.baudrate = caption;
    }
    const struct {
        const std::optional<QString> &value;
        const QStringList &choices;
        const char *what;
    } checks[] = {{o.databits, Settings::DatabitsChoices, "data bits"},
                  {o.parity, Settings::ParityChoices, "parity"},
                  {o.stopbits, Settings::StopbitsChoices, "stop bits"}};
    for (const auto &c : checks) {
        if (c.value && !c.choices.contains(*c.value)) {
            error = QStringLiteral("%1 must be one of %2, not \"%3\"")
                        .arg(QString::fromLatin1(c.what), c.choices.join(", "), *c.value);
            return false;
        }
    }
    if (o.port && o.port->isEmpty()) {
        error = QStringLiteral("the device name is empty");
        return false;
    }
    return true;
}

bool TakeValueOption(const QStringList &args, qsizetype &i, TLoadOptions &o, QString &error, bool &taken)
{
    taken = false;
    for (const TValueOption &option : kValueOptions) {
        const QString name = QString::fromLatin1(option.name);
        QString value;
        if (args[i] == name) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(name);
                return false;
            }
            value = args[++i];
        } else if (args[i].startsWith(name + '=')) {
            value = args[i].mid(name.size() + 1);
        } else {
            continue;
        }
        o.*option.field = value;
        taken = true;
        return true;
    }
    return true;
}

} // namespace

namespace LoadOptions {

bool Parse(const QStringList &args, TLoadOptions &o, QString &error)
{
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        bool taken = false;
        if (optionsEnded || !arg.startsWith("-") || arg == "-") {
            files << arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--reset-only") {
            o.resetOnly = true;
        } else if (arg == "--monitor") {
            o.monitor = true;
        } else if (!TakeValueOption(args, i, o, error, taken)) {
            return false;
        } else if (!taken) {
            error = QStringLiteral("unknown option \"%1\"").arg(arg);
            return false;
        }
    }
    if (o.help)
        return true;
    if (!CheckValue(o, error))
        return false;
    if (o.resetOnly && !files.isEmpty()) {
        error = QStringLiteral("--reset-only takes no file");
        return false;
    }
    if (!o.resetOnly && files.size() != 1) {
        error = files.isEmpty() ? QStringLiteral("no HEX file given") : QStringLiteral("only one HEX file at a time");
        return false;
    }
    o.fileName = files.value(0);
    return true;
}

QString UsageText()
{
    return QString::fromLatin1(kUsage);
}

TPortSettings Resolve(const TLoadOptions &options, TComDeviceState state)
{
    state.port = options.port.value_or(state.port);
    // The port starts the simulated module itself when it opens this name.
    if (state.port.compare(QLatin1String(kSimulatedPort), Qt::CaseInsensitive) == 0)
        state.port = Settings::kSimulatedModule;
    state.baudrate = options.baudrate.value_or(state.baudrate);
    state.databits = options.databits.value_or(state.databits);
    state.parity = options.parity.value_or(state.parity);
    state.stopbits = options.stopbits.value_or(state.stopbits);
    return PortSettingsMap::FromState(state);
}

} // namespace LoadOptions
