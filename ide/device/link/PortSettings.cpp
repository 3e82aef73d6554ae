#include "PortSettings.h"

#include <algorithm>

namespace PortSettingsMap {

namespace {

int IndexOf(const QStringList &choices, const QString &text)
{
    return int(std::max<qsizetype>(0, choices.indexOf(Settings::MatchChoice(choices, text))));
}

QString Caption(const QStringList &choices, int index)
{
    return index >= 0 && index < choices.size() ? choices[index] : choices.first();
}

} // namespace

TPortSettings FromState(const TComDeviceState &state)
{
    TPortSettings s;
    s.ComPort = state.port;
    s.Line.Baudrate = TBaudrate(IndexOf(Settings::BaudrateChoices, state.baudrate));
    s.Line.Databits = TDataBits(IndexOf(Settings::DatabitsChoices, state.databits) + db7);
    s.Line.StopBits = TStopBits(IndexOf(Settings::StopbitsChoices, state.stopbits) * 2);
    s.Line.Parity = TParity(IndexOf(Settings::ParityChoices, state.parity));
    return s;
}

TComDeviceState ToState(const TPortSettings &settings)
{
    TComDeviceState state;
    state.port = settings.ComPort;
    state.baudrate = Caption(Settings::BaudrateChoices, settings.Line.Baudrate);
    state.databits = Caption(Settings::DatabitsChoices, settings.Line.Databits - db7);
    state.stopbits = Caption(Settings::StopbitsChoices, settings.Line.StopBits / 2);
    state.parity = Caption(Settings::ParityChoices, settings.Line.Parity);
    return state;
}

TTerminalSettings FromState(const TTerminalState &state, const QStringList &macros)
{
    TTerminalSettings s;
    s.Macros = macros;
    s.Echo = state.echo;
    s.HexMode = state.emulation.compare(QLatin1String("HEX"), Qt::CaseInsensitive) == 0;
    s.CRLFIn = state.crlfIn;
    s.CRLFOut = state.crlfOut;
    return s;
}

TTerminalState ToState(const TTerminalSettings &settings)
{
    TTerminalState state;
    state.emulation = Settings::EmulationChoices[settings.HexMode ? 1 : 0];
    state.echo = settings.Echo;
    state.crlfIn = settings.CRLFIn;
    state.crlfOut = settings.CRLFOut;
    return state;
}

void ReadRecords(const TIniFile &ini, TLinkSettings &settings)
{
    TComDeviceState device = Settings::ReadComDevice(ini);
    device.port = Settings::NamesComDevice(ini) ? device.port.trimmed() : Settings::kSimulatedModule;
    if (device.port.isEmpty())
        return;
    settings.Port = FromState(device);
    settings.Terminal = FromState(Settings::ReadTerminal(ini), Settings::ReadMacros(ini));
}

} // namespace PortSettingsMap
