// The settings file's records: defaults, reading quirks, what is written
// back, the macro list rules and the "<approot>" preparation.

#include "../support/CaseNames.h"
#include "../support/IniFileFixture.h"
#include "IniFile.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SettingsTest : public TIniFileFixture {
protected:
    void SetUp() override
    {
        programDir = dir.path() + "/prog/";
        ASSERT_TRUE(QDir().mkpath(programDir + "Samples"));
    }

    QString programDir;
};

TEST_F(SettingsTest, NoFileGivesEveryDefault)
{
    const TIniFile ini(Path());
    const TWorkspaceState w = Settings::ReadWorkspace(ini, programDir);
    EXPECT_TRUE(w.recentFiles.isEmpty());
    EXPECT_EQ(w.workingDir, programDir);
    EXPECT_EQ(w.FilterBits(), 0);
    EXPECT_TRUE(w.searchHistory.isEmpty());
    EXPECT_TRUE(w.replaceHistory.isEmpty());

    const TComDeviceState c = Settings::ReadComDevice(ini);
    EXPECT_EQ(c.port, "COM1");
    EXPECT_EQ(c.baudrate, "9600");
    EXPECT_EQ(c.databits, "8");
    EXPECT_EQ(c.stopbits, "1");
    EXPECT_EQ(c.parity, "none");

    const TTerminalState t = Settings::ReadTerminal(ini);
    EXPECT_EQ(t.emulation, "ASCII");
    EXPECT_FALSE(t.echo);
    EXPECT_FALSE(t.crlfIn);
    EXPECT_FALSE(t.crlfOut);

    EXPECT_TRUE(Settings::ReadMacros(ini).isEmpty());
    EXPECT_EQ(Settings::ReadLastTransferFile(ini), "<noname>");
    EXPECT_FALSE(QFile::exists(Path())); // reading never creates the file
}

struct ChoiceCase {
    const char *key;
    const char *stored;
    const char *expected;
};

class ComDeviceChoiceTest : public SettingsTest, public ::testing::WithParamInterface<ChoiceCase> { };

TEST_P(ComDeviceChoiceTest, StoredTextSelectsCaption)
{
    const ChoiceCase &c = GetParam();
    WriteRaw(QByteArray("[COM-Device]\r\n") + c.key + "=" + c.stored + "\r\n");
    const TComDeviceState s = Settings::ReadComDevice(TIniFile(Path()));
    const QString got = QString(c.key) == "Port" ? s.port
        : QString(c.key) == "Baudrate"           ? s.baudrate
        : QString(c.key) == "Databits"           ? s.databits
        : QString(c.key) == "Stopbits"           ? s.stopbits
                                                 : s.parity;
    EXPECT_EQ(got, c.expected) << c.key << "=" << c.stored;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComDeviceChoiceTest,
    ::testing::Values(ChoiceCase{"Port", "com3", "COM3"}, ChoiceCase{"Port", "COM10", "COM10"},
                      ChoiceCase{"Port", "COM11", "COM1"}, ChoiceCase{"Port", "", "COM1"},
                      ChoiceCase{"Port", "/dev/ttyUSB0", "/dev/ttyUSB0"}, ChoiceCase{"Baudrate", "115.2K", "115.2k"},
                      ChoiceCase{"Baudrate", "115200", "300"}, ChoiceCase{"Baudrate", "57600", "57600"},
                      ChoiceCase{"Databits", "7", "7"}, ChoiceCase{"Databits", "9", "7"},
                      ChoiceCase{"Stopbits", "2", "2"}, ChoiceCase{"Parity", "EVEN", "even"},
                      ChoiceCase{"Parity", "keine", "none"}, ChoiceCase{"Parity", "odd", "odd"}),
    [](const auto &info) { return StableTestName(std::string(info.param.key) + " " + info.param.stored, info.index); });

TEST_F(SettingsTest, TerminalValues)
{
    WriteRaw("[Terminal]\r\nEmulation=hex\r\nEcho=5\r\nCRLF(In)=0\r\ncrlf(out)=1\r\n");
    const TTerminalState t = Settings::ReadTerminal(TIniFile(Path()));
    EXPECT_EQ(t.emulation, "HEX");
    EXPECT_TRUE(t.echo);
    EXPECT_FALSE(t.crlfIn);
    EXPECT_TRUE(t.crlfOut);
}

TEST_F(SettingsTest, PreferencesRoundTrip)
{
    TIniFile ini(Path());
    TComDeviceState c;
    c.port = "COM4";
    c.baudrate = "115.2k";
    c.databits = "7";
    c.stopbits = "2";
    c.parity = "even";
    Settings::WriteComDevice(ini, c);
    TTerminalState t;
    t.emulation = "HEX";
    t.echo = true;
    t.crlfOut = true;
    Settings::WriteTerminal(ini, t);
    Settings::WriteLastTransferFile(ini, "/home/u/prog.hex");

    const TComDeviceState c2 = Settings::ReadComDevice(ini);
    EXPECT_EQ(c2.port, "COM4");
    EXPECT_EQ(c2.baudrate, "115.2k");
    EXPECT_EQ(c2.databits, "7");
    EXPECT_EQ(c2.stopbits, "2");
    EXPECT_EQ(c2.parity, "even");
    const TTerminalState t2 = Settings::ReadTerminal(ini);
    EXPECT_EQ(t2.emulation, "HEX");
    EXPECT_TRUE(t2.echo);
    EXPECT_FALSE(t2.crlfIn);
    EXPECT_TRUE(t2.crlfOut);
    EXPECT_EQ(Settings::ReadLastTransferFile(ini), "/home/u/prog.hex");
    EXPECT_TRUE(ReadRaw().contains("Echo=1\r\n"));
    EXPECT_TRUE(ReadRaw().contains("CRLF(In)=0\r\n"));
}

TEST_F(SettingsTest, RecentFilesSkipGapsAndKeepOldKeysBeyondTheList)
{
    WriteRaw("[MRUFiles]\r\nFile0=/a.bas\r\nFile1=/b.bas\r\nFile2=\r\nFile3=/d.bas\r\n");
    TIniFile ini(Path());
    const TWorkspaceState w = Settings::ReadWorkspace(ini, programDir);
    EXPECT_EQ(w.recentFiles, QStringList({"/a.bas", "/b.bas", "/d.bas"}));

    Settings::WriteWorkspace(ini, w);
    EXPECT_EQ(ini.ReadString("MRUFiles", "File0", ""), "/a.bas");
    EXPECT_EQ(ini.ReadString("MRUFiles", "File1", ""), "/b.bas");
    EXPECT_EQ(ini.ReadString("MRUFiles", "File2", ""), "/d.bas");
    EXPECT_EQ(ini.ReadString("MRUFiles", "File3", ""), "/d.bas"); // left as it was
}

TEST_F(SettingsTest, RecentFilesDropDuplicatesKeepingTheNewest)
{
    WriteRaw("[MRUFiles]\r\nFile0=/x/A.bas\r\nFile1=/x/b.bas\r\nFile4=/x/a.BAS\r\n");
    const TWorkspaceState w = Settings::ReadWorkspace(TIniFile(Path()), programDir);
    EXPECT_EQ(w.recentFiles, QStringList({"/x/A.bas", "/x/b.bas"}));
}

TEST_F(SettingsTest, RecentFilesCompareOnlyAsciiLettersWithoutCase)
{
    WriteRaw("[MRUFiles]\r\nFile0=/x/\xC3\x84.bas\r\nFile1=/x/\xC3\xA4.bas\r\nFile2=/x/\xC3\xA4.BAS\r\n");
    const TWorkspaceState w = Settings::ReadWorkspace(TIniFile(Path()), programDir);
    EXPECT_EQ(w.recentFiles, QStringList({QString::fromUtf8("/x/\xC3\x84.bas"), QString::fromUtf8("/x/\xC3\xA4.bas")}));
}

struct WorkingDirCase {
    const char *state;
    const char *stored;
};

class WorkingDirWriteTest : public SettingsTest, public ::testing::WithParamInterface<WorkingDirCase> { };

TEST_P(WorkingDirWriteTest, StoredWithoutTrailingSeparatorExceptRoot)
{
    TWorkspaceState w;
    w.workingDir = GetParam().state;
    TIniFile ini(Path());
    Settings::WriteWorkspace(ini, w);
    EXPECT_EQ(ini.ReadString("Folders", "WorkingDir", "<none>"), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Table, WorkingDirWriteTest,
                         ::testing::Values(WorkingDirCase{"/home/u/velmo/", "/home/u/velmo"},
                                           WorkingDirCase{"/home/u/velmo", "/home/u/velmo"},
                                           WorkingDirCase{"/home/u//", "/home/u"}, WorkingDirCase{"/", "/"},
                                           WorkingDirCase{"C:/", "C:/"}, WorkingDirCase{"C:\\Velmo\\", "C:\\Velmo"}),
                         NameByField(&WorkingDirCase::state));

TEST_F(SettingsTest, HistorySkipsEmptyKeys)
{
    WriteRaw("[FindReplaceHistory]\r\nSearch0=\r\nSearch1=PRINT\r\nSearch5=GOTO\r\nSearch20=beyond\r\n"
             "Replace2=x\r\n");
    const TWorkspaceState w = Settings::ReadWorkspace(TIniFile(Path()), programDir);
    EXPECT_EQ(w.searchHistory, QStringList({"PRINT", "GOTO"}));
    EXPECT_EQ(w.replaceHistory, QStringList({"x"}));
}

struct FilterCase {
    const char *bas;
    const char *lst;
    const char *hex;
    int bits;
};

class FilterTest : public SettingsTest, public ::testing::WithParamInterface<FilterCase> { };

TEST_P(FilterTest, OnlyOneMeansDown)
{
    const FilterCase &c = GetParam();
    WriteRaw(QByteArray("[Folders]\r\nFilterBas=") + c.bas + "\r\nFilterLst=" + c.lst + "\r\nFilterHex=" + c.hex +
             "\r\n");
    EXPECT_EQ(Settings::ReadWorkspace(TIniFile(Path()), programDir).FilterBits(), c.bits);
}

INSTANTIATE_TEST_SUITE_P(Table, FilterTest,
                         ::testing::Values(FilterCase{"1", "0", "0", 1}, FilterCase{"0", "1", "1", 6},
                                           FilterCase{"1", "2", "0", 1}, FilterCase{"true", "-1", "0x1", 4},
                                           FilterCase{"", "", "", 0}),
                         [](const auto &info) {
                             const FilterCase &c = info.param;
                             return StableTestName(std::string(c.bas) + " " + c.lst + " " + c.hex, info.index);
                         });

TEST_F(SettingsTest, WorkingDirMustExist)
{
    WriteRaw(("[Folders]\r\nWorkingDir=" + programDir + "Samples\r\n").toUtf8());
    EXPECT_EQ(Settings::ReadWorkspace(TIniFile(Path()), programDir).workingDir, programDir + "Samples");
    WriteRaw("[Folders]\r\nWorkingDir=/no/such/dir\r\n");
    EXPECT_EQ(Settings::ReadWorkspace(TIniFile(Path()), programDir).workingDir, programDir);
}

TEST_F(SettingsTest, WorkspaceWritesEveryKey)
{
    TWorkspaceState w;
    w.recentFiles = {"/1.bas", "/2.bas"};
    w.workingDir = "/work";
    w.filterLst = true;
    w.searchHistory = {"s0", "s1"};
    w.replaceHistory = {"r0"};
    TIniFile ini(Path());
    Settings::WriteWorkspace(ini, w);
    EXPECT_EQ(ReadRaw(),
              "[MRUFiles]\r\nFile0=/1.bas\r\nFile1=/2.bas\r\n"
              "[Folders]\r\nWorkingDir=/work\r\nFilterBas=0\r\nFilterLst=1\r\nFilterHex=0\r\n"
              "[FindReplaceHistory]\r\nSearch0=s0\r\nSearch1=s1\r\nReplace0=r0\r\n");
}

TEST_F(SettingsTest, MacrosStopAtFirstGapAndWritingReplacesTheSection)
{
    WriteRaw("[Macros]\r\nMacro0=RUN#013\r\nMacro1=LIST#013\r\nMacro2=\r\nMacro3=stale\r\n[Transfer]\r\n"
             "LastFile=x.hex\r\n");
    TIniFile ini(Path());
    EXPECT_EQ(Settings::ReadMacros(ini), QStringList({"RUN#013", "LIST#013"}));
    Settings::WriteMacros(ini, {"A"});
    EXPECT_EQ(ReadRaw(), "[Transfer]\r\nLastFile=x.hex\r\n[Macros]\r\nMacro0=A\r\n");
    WriteRaw("[Macros]\r\nMacro1=only one\r\n");
    EXPECT_TRUE(Settings::ReadMacros(TIniFile(Path())).isEmpty());
}

// The file is parsed once for the whole list (bench/settings measures it).
TEST_F(SettingsTest, TwoThousandMacrosReadInOrder)
{
    QByteArray text = "[Macros]\r\n";
    QStringList expected;
    for (int i = 0; i < 2000; ++i) {
        expected << QString("SEND %1#013").arg(i);
        text += "Macro" + QByteArray::number(i) + "=" + expected.last().toUtf8() + "\r\n";
    }
    WriteRaw(text);
    EXPECT_EQ(Settings::ReadMacros(TIniFile(Path())), expected);
}

struct AppRootCase {
    const char *line;
    const char *expected; // "$" stands for the program directory
};

class AppRootTest : public SettingsTest, public ::testing::WithParamInterface<AppRootCase> { };

TEST_P(AppRootTest, FirstPlaceholderOfLineIsExpanded)
{
    const QString dirText = "/opt/velmo/";
    const QString expected = QString(GetParam().expected).replace("$", dirText);
    EXPECT_EQ(Settings::ExpandAppRoot(GetParam().line, dirText), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, AppRootTest,
                         ::testing::Values(AppRootCase{"WorkingDir=<APPROOT>\\Samples", "WorkingDir=$Samples"},
                                           AppRootCase{"WorkingDir=<approot>/Samples", "WorkingDir=$Samples"},
                                           AppRootCase{"x=<AppRoot>", "x=$"},
                                           AppRootCase{"x=<approot>Samples", "x=$Samples"},
                                           AppRootCase{"a=<approot>\\1;<approot>\\2", "a=$1;<approot>\\2"},
                                           AppRootCase{"plain=line", "plain=line"},
                                           AppRootCase{"a=<approot\\x", "a=<approot\\x"}),
                         NameByField(&AppRootCase::line));

TEST_F(SettingsTest, PreparationRewritesTheFileWithCrLf)
{
    WriteRaw("[Folders]\nWorkingDir=<APPROOT>\\Samples\n[Transfer]\nLastFile=a.hex\n");
    Settings::PrepareAppRoot(Path(), programDir);
    EXPECT_EQ(ReadRaw(),
              ("[Folders]\r\nWorkingDir=" + programDir + "Samples\r\n[Transfer]\r\nLastFile=a.hex\r\n").toUtf8());
}

TEST_F(SettingsTest, PreparationLeavesAMissingFileMissing)
{
    Settings::PrepareAppRoot(Path(), programDir);
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(SettingsTest, PlaceholderWorkingDirTakesEffectAfterPreparation)
{
    WriteRaw("[Folders]\r\nWorkingDir=<APPROOT>\\Samples\r\n");
    TIniFile ini(Path());
    // The first start reads the key before the preparation: no such directory.
    EXPECT_EQ(Settings::ReadWorkspace(ini, programDir).workingDir, programDir);
    Settings::PrepareAppRoot(Path(), programDir);
    EXPECT_EQ(Settings::ReadWorkspace(ini, programDir).workingDir, programDir + "Samples");
}

} // namespace
