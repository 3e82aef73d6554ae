#include "VirtualHardware.h"

#include "TokenTable.h"

#include <cmath>
#include <numbers>

namespace velsim {

namespace {

enum class Shape { kSine, kTriangle, kSawtooth };

// The test signals on the ADC inputs: shape, period and range.
struct TestSignalShape {
    Shape shape;
    int64_t periodMs;
    int32_t low;
    int32_t high;
};

constexpr TestSignalShape kTestSignals[CVirtualHardware::kAdcs] = {
    {Shape::kSine, 10000, 112, 912},   {Shape::kTriangle, 8000, 100, 900}, {Shape::kSawtooth, 12000, 0, 1023},
    {Shape::kSine, 4000, 400, 624},    {Shape::kSine, 20000, 0, 1023},     {Shape::kTriangle, 30000, 256, 768},
    {Shape::kSawtooth, 40000, 0, 511}, {Shape::kSine, 60000, 512, 1023},
};

std::string Joined(const std::vector<int32_t> &values)
{
    std::string text;
    for (size_t i = 0; i < values.size(); ++i)
        text += (i ? ", " : "") + std::to_string(values[i]);
    return text;
}

std::string Name(int sym)
{
    return KeywordName(sym);
}

} // namespace

CVirtualHardware::CVirtualHardware(CTrace &trace, CModuleClock &clock)
    : m_trace(trace)
    , m_clock(clock)
    , m_eeprom(kEepromSize, 0xFF)
{
}

void CVirtualHardware::Reset()
{
    for (uint8_t &port : m_ports)
        port = 0;
    for (int n = 0; n < kPwms; ++n)
        m_pwm[n] = 0;
    for (int n = 0; n < kCounters; ++n)
        m_counters[n] = 0;
    for (int n = 0; n < kSteppers; ++n)
        m_stepperPosition[n] = m_stepperSpeed[n] = m_stepperSteps[n] = 0;
    m_msg = 0;
    m_irCode = 0;
    m_settings.clear();
    m_memory.clear();
    m_i2c.clear();
}

int32_t CVirtualHardware::TestSignal(int channel, int64_t millis)
{
    const TestSignalShape &s = kTestSignals[channel];
    const double phase = static_cast<double>(millis % s.periodMs) / static_cast<double>(s.periodMs);
    double level = 0; // 0 .. 1
    switch (s.shape) {
    case Shape::kSine:
        level = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * phase);
        break;
    case Shape::kTriangle:
        level = phase < 0.5 ? 2 * phase : 2 - 2 * phase;
        break;
    case Shape::kSawtooth:
        level = phase;
        break;
    }
    return s.low + static_cast<int32_t>(std::lround(level * (s.high - s.low)));
}

int32_t CVirtualHardware::Read(int sym, int suffix) const
{
    if (const int n = MemberIndex(sym, symPORT0); n >= 0) {
        const int port = m_ports[n];
        return suffix < 0 ? port : (port >> suffix) & 1;
    }
    if (const int n = MemberIndex(sym, symPWM0); n >= 0)
        return m_pwm[n];
    if (const int n = MemberIndex(sym, symADC0); n >= 0)
        return TestSignal(n, m_clock.Millis());
    if (const int n = MemberIndex(sym, symTIMER0); n >= 0)
        return m_clock.Timer(n);
    if (const int n = MemberIndex(sym, symCOUNTER0); n >= 0)
        return m_counters[n];
    if (const int n = MemberIndex(sym, symSTEPPER0); n >= 0)
        return suffix == symSPEED ? m_stepperSpeed[n] : suffix == symSTEPS ? m_stepperSteps[n] : m_stepperPosition[n];
    switch (sym) {
    case symTIME:
    case symDATE:
    case symDAY:
        return m_clock.Read(sym, suffix);
    case symMSG:
        return m_msg;
    case symIRCODE:
        return m_irCode;
    default:
        return 0; // KEYCODE: no key is pressed on the virtual keypad
    }
}

void CVirtualHardware::Change(const std::string &name, int32_t value)
{
    m_trace.Change(name + " = " + std::to_string(value));
}

void CVirtualHardware::Write(int sym, int suffix, int32_t value)
{
    const std::string suffixName = suffix < 0 ? "" : "." + (suffix < 8 ? std::to_string(suffix) : Name(suffix));
    const std::string name = Name(sym) + suffixName;
    int32_t *cell = nullptr;
    if (const int n = MemberIndex(sym, symPORT0); n >= 0) {
        uint8_t &port = m_ports[n];
        const uint8_t before = port;
        if (suffix < 0)
            port = static_cast<uint8_t>(value);
        else
            port = static_cast<uint8_t>(value & 1 ? port | (1 << suffix) : port & ~(1 << suffix));
        if (port != before)
            Change(name, suffix < 0 ? port : (port >> suffix) & 1);
        return;
    }
    if (const int n = MemberIndex(sym, symTIMER0); n >= 0) {
        m_clock.SetTimer(n, value);
        Change(name, value);
        return;
    }
    if (sym == symTIME || sym == symDATE || sym == symDAY) {
        m_clock.Write(sym, suffix, value);
        Change(name, value);
        return;
    }
    const int pwm = MemberIndex(sym, symPWM0);
    const int counter = MemberIndex(sym, symCOUNTER0);
    const int stepper = MemberIndex(sym, symSTEPPER0);
    if (pwm >= 0)
        cell = &m_pwm[pwm];
    else if (counter >= 0)
        cell = &m_counters[counter];
    else if (stepper >= 0)
        cell = suffix == symSPEED ? &m_stepperSpeed[stepper]
            : suffix == symSTEPS  ? &m_stepperSteps[stepper]
                                  : &m_stepperPosition[stepper];
    else if (sym == symMSG)
        cell = &m_msg;
    else if (sym == symIRCODE)
        cell = &m_irCode;
    if (cell && *cell != value) {
        *cell = value;
        Change(name, value);
    }
}

void CVirtualHardware::Setting(int sym, const std::vector<int32_t> &args)
{
    std::vector<int32_t> &setting = m_settings[sym];
    if (setting == args)
        return;
    setting = args;
    m_trace.Change(Name(sym) + " " + Joined(args));
}

std::vector<int32_t> CVirtualHardware::SettingOf(int sym) const
{
    auto it = m_settings.find(sym);
    return it == m_settings.end() ? std::vector<int32_t>() : it->second;
}

void CVirtualHardware::Sound(int32_t frequency, int32_t duration)
{
    m_trace.Change("SOUND " + std::to_string(frequency) + " Hz, " + std::to_string(duration) + " ms");
}

uint8_t CVirtualHardware::Peek(int32_t address) const
{
    return m_memory.empty() ? 0 : m_memory[static_cast<uint32_t>(address) % kMemorySize];
}

void CVirtualHardware::Poke(int32_t address, uint8_t value)
{
    if (m_memory.empty())
        m_memory.assign(kMemorySize, 0);
    const uint32_t at = static_cast<uint32_t>(address) % kMemorySize;
    if (m_memory[at] != value) {
        m_memory[at] = value;
        Change("memory " + std::to_string(at), value);
    }
}

void CVirtualHardware::StoreEeprom(int32_t address, const std::vector<uint8_t> &bytes)
{
    for (size_t i = 0; i < bytes.size(); ++i)
        m_eeprom[(static_cast<uint32_t>(address) + i) % kEepromSize] = bytes[i];
    m_trace.Change("EEPROM " + std::to_string(static_cast<uint32_t>(address) % kEepromSize) + ": " +
                   std::to_string(bytes.size()) + " bytes stored");
}

std::vector<uint8_t> CVirtualHardware::LoadEeprom(int32_t address, size_t count) const
{
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = m_eeprom[(static_cast<uint32_t>(address) + i) % kEepromSize];
    return bytes;
}

void CVirtualHardware::I2cWrite(int32_t chip, int32_t address, const std::vector<uint8_t> &bytes)
{
    const int base = (chip & (kI2cChips - 1)) * kI2cAddresses;
    std::vector<int32_t> values;
    for (size_t i = 0; i < bytes.size(); ++i) {
        m_i2c[base + static_cast<int>((static_cast<uint32_t>(address) + i) % kI2cAddresses)] = bytes[i];
        values.push_back(bytes[i]);
    }
    m_trace.Change("I2C chip " + std::to_string(chip & (kI2cChips - 1)) + " at " +
                   std::to_string(static_cast<uint32_t>(address) % kI2cAddresses) + ": " + Joined(values));
}

std::vector<uint8_t> CVirtualHardware::I2cRead(int32_t chip, int32_t address, size_t count) const
{
    const int base = (chip & (kI2cChips - 1)) * kI2cAddresses;
    std::vector<uint8_t> bytes(count, 0xFF);
    for (size_t i = 0; i < count; ++i) {
        auto it = m_i2c.find(base + static_cast<int>((static_cast<uint32_t>(address) + i) % kI2cAddresses));
        if (it != m_i2c.end())
            bytes[i] = it->second;
    }
    return bytes;
}

void CVirtualHardware::SpiShift(int32_t mode, int32_t direction, const std::vector<int32_t> &values)
{
    m_trace.Change("SPI mode " + std::to_string(mode) + ", direction " + std::to_string(direction) + ": " +
                   Joined(values));
}

void CVirtualHardware::InitModem(int32_t pin)
{
    m_modemReady = true;
    m_trace.Change("modem ready (PIN " + std::to_string(pin) + ")");
}

bool CVirtualHardware::SendSms(const std::string &phone, const std::string &text)
{
    if (m_modemReady)
        m_trace.Change("SMS to " + phone + ": " + text);
    return m_modemReady;
}

} // namespace velsim
