#pragma once

#include "PortSettings.h"
#include "Settings.h"

#include <QString>
#include <QStringList>
#include <optional>

// velload's command line: which device and line settings to use, what to do
// (download a HEX file, only reset the module, stay connected afterwards).
struct TLoadOptions {
    // The options given; an option not given takes the settings file's value.
    std::optional<QString> port;
    std::optional<QString> baudrate; // a caption of the settings file ("9600", "115.2k")
    std::optional<QString> databits;
    std::optional<QString> parity;
    std::optional<QString> stopbits;
    bool resetOnly = false;
    bool monitor = false;
    bool help = false;
    QString fileName;
};

namespace LoadOptions {

// The port name that starts the simulated module.
inline constexpr const char *kSimulatedPort = "sim";

// Parses the arguments after the program name; false with a message for a
// usage error.
bool Parse(const QStringList &arguments, TLoadOptions &options, QString &error);
QString UsageText();

// The device and line settings: the settings file's (its defaults when it has
// none: COM1 at 9600 8N1), each replaced by the option given.
TPortSettings Resolve(const TLoadOptions &options, TComDeviceState fromFile);

} // namespace LoadOptions
