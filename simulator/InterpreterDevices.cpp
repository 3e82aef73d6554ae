// The statements of the module's other devices, on the virtual hardware:
// settings, sound, EEPROM, memory, buses, modem, network and display.
#include "Interpreter.h"

#include "TokenTable.h"

#include <array>

namespace velsim {

namespace {

constexpr int32_t kErrNoData = 1; // ERR when nothing could be received

} // namespace

void CInterpreter::DeviceStatement(const Stmt &s)
{
    using Handler = void (CInterpreter::*)(const Stmt &);
    struct Entry {
        TSYMBOL sym;
        Handler handler;
    };
    static constexpr Entry kHandlers[] = {
        {symREAD, &CInterpreter::Read},
        {symRESTORE, &CInterpreter::Restore},
        {symLOAD, &CInterpreter::LoadStore},
        {symSTORE, &CInterpreter::LoadStore},
        {symWAIT, &CInterpreter::Wait},
        {symOPEN, &CInterpreter::Open},
        {symCLOSE, &CInterpreter::Close},
        {symFLUSH, &CInterpreter::Flush},
        {symPRINT, &CInterpreter::Print},
        {symINPUT, &CInterpreter::Input},
        {symPUT, &CInterpreter::Put},
        {symGET, &CInterpreter::Get},
        {symFIND, &CInterpreter::Find},
        {symPOKE, &CInterpreter::Poke},
        {symSEND, &CInterpreter::Network},
        {symRECV, &CInterpreter::Network},
        {symI2CIN, &CInterpreter::I2c},
        {symI2COUT, &CInterpreter::I2c},
        {symSPISHIFT, &CInterpreter::Spi},
        {symINITGSM, &CInterpreter::Modem},
        {symSENDSMS, &CInterpreter::Modem},
        {symRECVSMS, &CInterpreter::Modem},
        {symSTANDBY, &CInterpreter::NotSimulated},
        {symSOUND, &CInterpreter::Sound},
        {symPAUSE, &CInterpreter::Pause},
        {symSETCOM, &CInterpreter::Setting},
        {symSETPWM, &CInterpreter::Setting},
        {symSETPORT, &CInterpreter::Setting},
        {symSETDRIVE, &CInterpreter::Setting},
        {symSETCLOCK, &CInterpreter::Setting},
        {symSETKEYPAD, &CInterpreter::Setting},
        {symSETSYMBOL, &CInterpreter::Setting},
        {symSETCOUNTER, &CInterpreter::Setting},
        {symSETDISPLAY, &CInterpreter::Setting},
        {symSETNETWORK, &CInterpreter::Setting},
        {symSETSTEPPER, &CInterpreter::Setting},
        {symCLS, &CInterpreter::Display},
        {symMOVE, &CInterpreter::Display},
        {symFONT, &CInterpreter::Display},
        {symCOLOR, &CInterpreter::Display},
        {symPLOT, &CInterpreter::Graphics},
        {symDRAW, &CInterpreter::Graphics},
        {symFRAME, &CInterpreter::Graphics},
        {symSCROLL, &CInterpreter::Graphics},
        {symCIRCLE, &CInterpreter::Graphics},
        {symPICTURE, &CInterpreter::NotSimulated},
        {symBARGRAPH, &CInterpreter::Graphics},
    };
    static const std::array<Handler, symCount> kTable = [] {
        std::array<Handler, symCount> table{};
        for (const Entry &entry : kHandlers)
            table[entry.sym] = entry.handler;
        return table;
    }();
    if (const Handler handler = kTable[static_cast<size_t>(s.sym)])
        (this->*handler)(s); // DATA has no handler: it only holds the data list
}

std::vector<int32_t> CInterpreter::Numbers(const Stmt &s)
{
    std::vector<int32_t> values;
    for (const Arg &arg : s.args)
        values.push_back(arg.kind == ArgKind::kExpr ? Eval(*arg.expr).AsInt() : 0);
    return values;
}

int32_t CInterpreter::Number(const Stmt &s, size_t arg, int32_t absent)
{
    if (arg >= s.args.size() || s.args[arg].kind != ArgKind::kExpr)
        return absent;
    return Eval(*s.args[arg].expr).AsInt();
}

void CInterpreter::NotSimulated(const Stmt &s)
{
    for (const Arg &arg : s.args) {
        if (arg.kind == ArgKind::kExpr)
            Eval(*arg.expr);
    }
    m_machine.m_trace.NotSimulated(KeywordName(s.sym));
}

void CInterpreter::Setting(const Stmt &s)
{
    m_machine.m_hardware.Setting(s.sym, Numbers(s));
    if (s.sym == symSETDISPLAY)
        m_machine.m_display.Activate();
}

void CInterpreter::Sound(const Stmt &s)
{
    m_machine.m_hardware.Sound(Number(s, 0), Number(s, 1));
}

// STORE writes the bytes of each variable to the EEPROM, one after the
// other from the address; LOAD reads them back.
void CInterpreter::LoadStore(const Stmt &s)
{
    int32_t address = Number(s, 0);
    CVirtualHardware &hardware = m_machine.m_hardware;
    for (const VarRef &ref : s.args[1].vars) {
        const std::vector<uint8_t> bytes = BytesOf(ref);
        if (s.sym == symSTORE)
            hardware.StoreEeprom(address, bytes);
        else
            SetBytes(ref, hardware.LoadEeprom(address, bytes.size()));
        address = WrapAdd(address, static_cast<int32_t>(bytes.size()));
    }
}

void CInterpreter::Poke(const Stmt &s)
{
    m_machine.m_hardware.Poke(Number(s, 0), static_cast<uint8_t>(Number(s, 1)));
}

// I2COUT sends the bytes of its variables to a chip's addresses; I2CIN
// reads them back into its variables.
void CInterpreter::I2c(const Stmt &s)
{
    const int32_t chip = Number(s, 0);
    int32_t address = Number(s, 1);
    CVirtualHardware &hardware = m_machine.m_hardware;
    if (s.args.size() < 3)
        return hardware.I2cWrite(chip, address, {});
    for (const VarRef &ref : s.args[2].vars) {
        const std::vector<uint8_t> bytes = BytesOf(ref);
        if (s.sym == symI2COUT)
            hardware.I2cWrite(chip, address, bytes);
        else
            SetBytes(ref, hardware.I2cRead(chip, address, bytes.size()));
        address = WrapAdd(address, static_cast<int32_t>(bytes.size()));
    }
}

// SPISHIFT shifts the variables out; the bus is a loop, so they keep their
// values.
void CInterpreter::Spi(const Stmt &s)
{
    std::vector<int32_t> values;
    for (const VarRef &ref : s.args[2].vars) {
        for (uint8_t byte : BytesOf(ref))
            values.push_back(byte);
    }
    m_machine.m_hardware.SpiShift(Number(s, 0), Number(s, 1), values);
}

void CInterpreter::Network(const Stmt &s)
{
    NotSimulated(s);
    if (s.sym == symRECV)
        m_err = kErrNoData;
}

// The modem sends every SMS (shown with --trace) and never receives one.
void CInterpreter::Modem(const Stmt &s)
{
    CVirtualHardware &hardware = m_machine.m_hardware;
    if (s.device)
        Eval(*s.device);
    if (s.sym == symINITGSM) {
        hardware.InitModem(Number(s, 0));
        m_err = 0;
    } else if (s.sym == symSENDSMS) {
        const Arg &phone = s.args[0];
        const std::string number = phone.kind == ArgKind::kText ? phone.text : TextOf(phone.var);
        std::string text;
        int64_t column = 0;
        for (const PrintItem &item : s.items) {
            text += Format(item, column);
            column = static_cast<int64_t>(text.size());
        }
        m_err = hardware.SendSms(number, text) ? 0 : kErrNoData;
    } else {
        SetText(s.args[0].var, "");
        SetText(s.args[1].var, "");
        m_err = kErrNoData;
    }
}

void CInterpreter::Display(const Stmt &s)
{
    CVirtualDisplay &display = m_machine.m_display;
    switch (s.sym) {
    case symCLS:
        display.Clear();
        break;
    case symMOVE:
        display.Move(Number(s, 0), Number(s, 1));
        break;
    case symFONT:
        display.Font(Number(s, 0));
        break;
    default: // COLOR
        display.Color(Number(s, 0), Number(s, 1));
        break;
    }
}

void CInterpreter::Graphics(const Stmt &s)
{
    CVirtualDisplay &display = m_machine.m_display;
    const std::vector<int32_t> n = Numbers(s);
    auto at = [&](size_t i, int32_t absent) { return i < n.size() ? n[i] : absent; };
    switch (s.sym) {
    case symPLOT:
        display.Plot(n[0], n[1]);
        break;
    case symDRAW:
        display.Draw(n[0], n[1]);
        break;
    case symFRAME:
        display.Frame(n[0], n[1], n[2], n[3], at(4, CVirtualDisplay::kNoFill));
        break;
    case symSCROLL:
        display.Scroll(n[0], n[1], n[2], n[3], n[4], at(5, 0));
        break;
    case symCIRCLE:
        display.Circle(n[0], n[1], n[2], at(3, n[2]), at(4, CVirtualDisplay::kNoFill));
        break;
    default: // BARGRAPH
        display.Bargraph(n[0], n[1], n[2], n[3], n[4], at(5, 0));
        break;
    }
}

} // namespace velsim
