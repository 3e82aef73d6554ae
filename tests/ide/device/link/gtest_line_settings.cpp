// Device names, the status text of the port, the packed line settings, and
// how the settings file's captions become the port's settings.

#include "LineSettings.h"
#include "PortSettings.h"

#include <gtest/gtest.h>

namespace {

struct TNameCase {
    const char *name;
    QString port;
    QString device;
    QString shown;
};

class DeviceNameTest : public ::testing::TestWithParam<TNameCase> { };

TEST_P(DeviceNameTest, MapsTheChoiceToADevice)
{
    EXPECT_EQ(LineSettings::DevicePath(GetParam().port), GetParam().device);
    EXPECT_EQ(LineSettings::DisplayName(GetParam().port), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Names, DeviceNameTest,
                         ::testing::Values(TNameCase{"com1", "COM1", "/dev/ttyS0", "COM1:"},
                                           TNameCase{"com10", "COM10", "/dev/ttyS9", "COM10:"},
                                           TNameCase{"lower_case_colon", "com3:", "/dev/ttyS2", "COM3:"},
                                           TNameCase{"com11_is_a_name", "COM11", "COM11", "COM11"},
                                           TNameCase{"com0_is_a_name", "COM0", "COM0", "COM0"},
                                           TNameCase{"usb", "/dev/ttyUSB0", "/dev/ttyUSB0", "/dev/ttyUSB0"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(LineSettingsText, StatusTextOfThePort)
{
    EXPECT_EQ(LineSettings::StatusText("COM1", TLineSettings{}), "COM1: 9600,8,N,1");
    EXPECT_EQ(LineSettings::StatusText("/dev/pts/4", {br115200, db7, sb20, paEVEN}), "/dev/pts/4 115200,7,E,2");
    EXPECT_EQ(LineSettings::StatusText("COM2", {br300, db5, sb15, paSPACE}), "COM2: 300,5,S,1.5");
}

TEST(LineSettingsText, PackedAsOneValueByteByByte)
{
    const TLineSettings line{br57600, db7, sb20, paODD};
    EXPECT_EQ(line.Pack(), 0x01020308u);
    EXPECT_EQ(TLineSettings::Unpack(0x01020308u), line);
}

struct TStateCase {
    const char *name;
    TComDeviceState state;
    TLineSettings line;
};

class PortSettingsMapTest : public ::testing::TestWithParam<TStateCase> { };

TEST_P(PortSettingsMapTest, CaptionsBecomeSettings)
{
    const TPortSettings s = PortSettingsMap::FromState(GetParam().state);
    EXPECT_EQ(s.Line, GetParam().line);
    EXPECT_EQ(s.ComPort, GetParam().state.port);
}

INSTANTIATE_TEST_SUITE_P(
    States, PortSettingsMapTest,
    ::testing::Values(TStateCase{"defaults", {}, {br9600, db8, sb10, paNONE}},
                      TStateCase{"s7E2", {"COM2", "115.2k", "7", "2", "even"}, {br115200, db7, sb20, paEVEN}},
                      TStateCase{
                          "garbage_gives_first", {"/dev/x", "fast", "9", "3", "??"}, {br300, db7, sb10, paNONE}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PortSettingsMap, RecordsGoBackToTheCaptionsTheyCameFrom)
{
    const TComDeviceState state{"/dev/ttyUSB1", "57600", "7", "2", "odd"};
    const TComDeviceState back = PortSettingsMap::ToState(PortSettingsMap::FromState(state));
    EXPECT_EQ(back.port, state.port);
    EXPECT_EQ(back.baudrate, state.baudrate);
    EXPECT_EQ(back.databits, state.databits);
    EXPECT_EQ(back.stopbits, state.stopbits);
    EXPECT_EQ(back.parity, state.parity);
    TTerminalState terminal;
    terminal.emulation = "hex";
    terminal.crlfIn = true;
    const TTerminalSettings t = PortSettingsMap::FromState(terminal, {"AT"});
    EXPECT_TRUE(t.HexMode);
    EXPECT_TRUE(t.CRLFIn);
    EXPECT_EQ(PortSettingsMap::ToState(t).emulation, "HEX");
}

} // namespace
