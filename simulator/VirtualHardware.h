// The hardware of the module as machine state: ports and PWM outputs keep
// what the program writes, the ADC inputs give slowly varying test signals,
// counters, steppers, the clock, the settings of every device, the sound
// output, the I2C and SPI buses, the EEPROM, the memory of PEEK and POKE and
// the GSM modem. With --trace every change is reported.
#pragma once

#include "ModuleClock.h"
#include "Trace.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velsim {

class CVirtualHardware {
public:
    static constexpr int kPorts = 10;
    static constexpr int kPwms = 8;
    static constexpr int kAdcs = 8;
    static constexpr int kCounters = 4;
    static constexpr int kSteppers = 4;
    static constexpr int kAdcMax = 1023; // 10-bit converter
    static constexpr size_t kEepromSize = 4096;
    static constexpr size_t kMemorySize = 65536;
    static constexpr int kI2cChips = 128;
    static constexpr int kI2cAddresses = 256;

    CVirtualHardware(CTrace &trace, CModuleClock &clock);

    // A program starts: ports, outputs, counters and settings return to 0.
    // The EEPROM, the clock and the modem keep their state, as on a module.
    void Reset();

    // System variables other than PI, RXD, CR and NL: `sym` with the member
    // of its family, `suffix` the port bit or the symbol after ".".
    int32_t Read(int sym, int suffix) const;
    void Write(int sym, int suffix, int32_t value);

    // The setting statements (SETCOM, SETPORT, ...): kept and traced.
    void Setting(int sym, const std::vector<int32_t> &args);
    std::vector<int32_t> SettingOf(int sym) const;

    void Sound(int32_t frequency, int32_t duration);

    uint8_t Peek(int32_t address) const;
    void Poke(int32_t address, uint8_t value);
    void StoreEeprom(int32_t address, const std::vector<uint8_t> &bytes);
    std::vector<uint8_t> LoadEeprom(int32_t address, size_t count) const;

    // An I2C chip answers reads with what was last written to its addresses
    // (0xFF where nothing was).
    void I2cWrite(int32_t chip, int32_t address, const std::vector<uint8_t> &bytes);
    std::vector<uint8_t> I2cRead(int32_t chip, int32_t address, size_t count) const;
    void SpiShift(int32_t mode, int32_t direction, const std::vector<int32_t> &values);

    void InitModem(int32_t pin);
    // False while the modem is not initialised.
    bool SendSms(const std::string &phone, const std::string &text);

    // The test signal of an ADC input at a time in milliseconds.
    static int32_t TestSignal(int channel, int64_t millis);

private:
    void Change(const std::string &name, int32_t value);

    CTrace &m_trace;
    CModuleClock &m_clock;
    uint8_t m_ports[kPorts] = {};
    int32_t m_pwm[kPwms] = {};
    int32_t m_counters[kCounters] = {};
    int32_t m_stepperPosition[kSteppers] = {};
    int32_t m_stepperSpeed[kSteppers] = {};
    int32_t m_stepperSteps[kSteppers] = {};
    int32_t m_msg = 0;
    int32_t m_irCode = 0;
    std::map<int, std::vector<int32_t>> m_settings;
    std::vector<uint8_t> m_eeprom;
    std::vector<uint8_t> m_memory; // allocated on the first POKE
    std::map<int, uint8_t> m_i2c; // chip * 256 + address
    bool m_modemReady = false;
};

} // namespace velsim
