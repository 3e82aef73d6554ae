// TIniFile: reading rules, where writes go in the file, and refused writes.

#include "../support/CaseNames.h"
#include "../support/ChildCheck.h"
#include "../support/IniFileFixture.h"
#include "Errors.h"
#include "IniFile.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using IniFileTest = TIniFileFixture;

struct StringCase {
    const char *name;
    QByteArray file;
    const char *section;
    const char *key;
    const char *expected; // default is "<def>"
};

const StringCase kStringCases[] = {
    {"missing section", "[A]\r\nk=1\r\n", "B", "k", "<def>"},
    {"missing key", "[A]\r\nk=1\r\n", "A", "x", "<def>"},
    {"section and key ignore case", "[Folders]\r\nWorkingDir=/w\r\n", "FOLDERS", "workingdir", "/w"},
    {"blanks around key and value", "[A]\r\n  key  =  some value  \r\n", "A", "key", "some value"},
    {"value holds =", "[A]\r\nk=a=b\r\n", "A", "k", "a=b"},
    {"empty value", "[A]\r\nk=\r\n", "A", "k", ""},
    {"key of another section", "[A]\r\nx=1\r\n[B]\r\nk=2\r\n", "A", "k", "<def>"},
    {"first of two equal keys", "[A]\r\nk=first\r\nK=second\r\n", "A", "k", "first"},
    {"LF line ends", "[A]\nk=lf\n", "A", "k", "lf"},
    {"CR line ends", "[A]\rk=cr\r", "A", "k", "cr"},
    {"byte order mark", "\xEF\xBB\xBF[A]\r\nk=bom\r\n", "A", "k", "bom"},
    {"UTF-8 text", "[A]\r\nk=Gr\xC3\xBC\xC3\x9F\x65\r\n", "A", "k", "Gr\xC3\xBC\xC3\x9F\x65"},
    {"Windows-1252 text", "[A]\r\nk=5\x80 f\xFCr\r\n", "A", "k", "5\xE2\x82\xAC f\xC3\xBCr"},
    {"line without = ignored", "[A]\r\n; a comment\r\nk=v\r\n", "A", "k", "v"},
    {"blank lines inside section", "[A]\r\n\r\n\r\nk=v\r\n", "A", "k", "v"},
};

class IniStringTest : public IniFileTest, public ::testing::WithParamInterface<StringCase> { };

TEST_P(IniStringTest, ReadsValue)
{
    const StringCase &c = GetParam();
    WriteRaw(c.file);
    const TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, IniStringTest, ::testing::ValuesIn(kStringCases), [](const auto &info) {
    std::string name = info.param.name;
    for (char &ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST_F(IniFileTest, MissingFileGivesDefaults)
{
    const TIniFile ini(dir.filePath("none.ini"));
    EXPECT_EQ(ini.ReadString("A", "k", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("A", "k", 7), 7);
    EXPECT_TRUE(ini.ReadBool("A", "k", true));
    EXPECT_FALSE(ini.SectionExists("A"));
}

TEST_F(IniFileTest, ValueIsCutAfter2047Characters)
{
    const QByteArray longValue(3000, 'x');
    WriteRaw("[A]\r\nk=" + longValue + "\r\n");
    EXPECT_EQ(TIniFile(Path()).ReadString("A", "k", "").size(), 2047);
}

struct IntCase {
    const char *value;
    int expected; // default is -99
};

class IniIntegerTest : public IniFileTest, public ::testing::WithParamInterface<IntCase> { };

TEST_P(IniIntegerTest, ParsesDecimalAndHex)
{
    WriteRaw(QByteArray("[A]\r\nn=") + GetParam().value + "\r\n");
    EXPECT_EQ(TIniFile(Path()).ReadInteger("A", "n", -99), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, IniIntegerTest,
                         ::testing::Values(IntCase{"12", 12}, IntCase{"-5", -5}, IntCase{"0x1F", 31},
                                           IntCase{"0X10", 16}, IntCase{"0xff", 255}, IntCase{"abc", -99},
                                           IntCase{"", -99}, IntCase{"12abc", -99}, IntCase{"0x", -99},
                                           IntCase{"99999999999", -99}, IntCase{"1.5", -99}),
                         NameByField(&IntCase::value));

TEST_F(IniFileTest, BooleansAreIntegers)
{
    WriteRaw("[A]\r\nzero=0\r\none=1\r\ntwo=2\r\nword=yes\r\nhex=0x0\r\n");
    const TIniFile ini(Path());
    EXPECT_FALSE(ini.ReadBool("A", "zero", true));
    EXPECT_TRUE(ini.ReadBool("A", "one", false));
    EXPECT_TRUE(ini.ReadBool("A", "two", false));
    EXPECT_TRUE(ini.ReadBool("A", "word", true)); // not a number: the default
    EXPECT_FALSE(ini.ReadBool("A", "word", false));
    EXPECT_FALSE(ini.ReadBool("A", "hex", true));
}

struct WriteCase {
    const char *name;
    QByteArray before;
    const char *section;
    const char *key;
    const char *value;
    QByteArray after;
};

const WriteCase kWriteCases[] = {
    {"new file", "", "A", "k", "v", "[A]\r\nk=v\r\n"},
    {"replace value", "[A]\r\nk=old\r\nx=1\r\n", "A", "k", "new", "[A]\r\nk=new\r\nx=1\r\n"},
    {"replace ignores case", "[a]\r\nKEY=old\r\n", "A", "key", "new", "[a]\r\nkey=new\r\n"},
    {"append to section before next", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "k", "v",
     "[A]\r\nx=1\r\nk=v\r\n\r\n[B]\r\ny=2\r\n"},
    {"append new section at end", "[A]\r\nx=1\r\n", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
    {"comments and other keys stay", "; top\n[A]\nx=1\n; note\n", "A", "x", "2", "; top\r\n[A]\r\nx=2\r\n; note\r\n"},
    {"line break in value kept on one line", "", "A", "k", "a\r\nb", "[A]\r\nk=a  b\r\n"},
    {"empty section header only", "[A]\r\n", "A", "k", "v", "[A]\r\nk=v\r\n"},
};

class IniWriteTest : public IniFileTest, public ::testing::WithParamInterface<WriteCase> { };

TEST_P(IniWriteTest, WritesKeyInPlace)
{
    const WriteCase &c = GetParam();
    if (!c.before.isEmpty())
        WriteRaw(c.before);
    TIniFile ini(Path());
    ini.WriteString(c.section, c.key, c.value);
    EXPECT_EQ(ReadRaw(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Table, IniWriteTest, ::testing::ValuesIn(kWriteCases), [](const auto &info) {
    std::string name = info.param.name;
    for (char &ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST_F(IniFileTest, WrittenValuesReadBack)
{
    TIniFile ini(Path());
    ini.WriteInteger("N", "i", -42);
    ini.WriteBool("N", "b", true);
    ini.WriteString("N", "s", "text with = and ; inside");
    EXPECT_EQ(ini.ReadInteger("N", "i", 0), -42);
    EXPECT_TRUE(ini.ReadBool("N", "b", false));
    EXPECT_EQ(ini.ReadString("N", "s", ""), "text with = and ; inside");
    EXPECT_EQ(ini.ReadSection("n"), QStringList({"i", "b", "s"}));
}

TEST_F(IniFileTest, EraseSectionRemovesOnlyThatSection)
{
    WriteRaw("[A]\r\na=1\r\n[Macros]\r\nMacro0=x\r\nMacro5=y\r\n[B]\r\nb=2\r\n");
    TIniFile ini(Path());
    ini.EraseSection("MACROS");
    EXPECT_EQ(ReadRaw(), "[A]\r\na=1\r\n[B]\r\nb=2\r\n");
    ini.EraseSection("missing");
    EXPECT_EQ(ReadRaw(), "[A]\r\na=1\r\n[B]\r\nb=2\r\n");
}

// Held writes: read back at once, in the file only after SaveHeld, and then
// the same bytes as the same writes made one by one.
TEST_F(IniFileTest, HeldWritesReachTheFileTogether)
{
    const QByteArray start = "[A]\r\na=1\r\n[Macros]\r\nMacro0=x\r\n[B]\r\nb=2\r\n";
    auto writeAll = [](TIniFile &ini) {
        ini.WriteInteger("A", "a", 5);
        ini.WriteString("C", "new", "v");
        ini.EraseSection("Macros");
        ini.WriteBool("B", "flag", true);
        ini.WriteString("a", "A", "7"); // the same key, other case
    };
    WriteRaw(start);
    TIniFile direct(Path());
    writeAll(direct);
    const QByteArray expected = ReadRaw();
    ASSERT_NE(expected, start);

    WriteRaw(start);
    TIniFile ini(Path());
    ini.HoldSaves();
    writeAll(ini);
    EXPECT_EQ(ReadRaw(), start);
    EXPECT_EQ(ini.ReadInteger("A", "a", 0), 7);
    EXPECT_FALSE(ini.SectionExists("Macros"));
    ini.SaveHeld();
    EXPECT_EQ(ReadRaw(), expected);
    EXPECT_EQ(TIniFile(Path()).ReadString("C", "new", ""), "v");
    ini.WriteInteger("A", "a", 8); // saved at once again
    EXPECT_EQ(TIniFile(Path()).ReadInteger("A", "a", 0), 8);
}

TEST_F(IniFileTest, NothingHeldNothingSaved)
{
    WriteRaw("[A]\r\na=1\r\n");
    const auto stamp = QFileInfo(Path()).fileTime(QFileDevice::FileModificationTime);
    TIniFile ini(Path());
    ini.HoldSaves();
    ini.WriteInteger("A", "a", 1); // the file already says so
    EXPECT_NO_THROW(ini.SaveHeld());
    EXPECT_EQ(QFileInfo(Path()).fileTime(QFileDevice::FileModificationTime), stamp);
    EXPECT_EQ(ReadRaw(), "[A]\r\na=1\r\n");
}

TEST_F(IniFileTest, WritesLeaveNoTemporaryFiles)
{
    TIniFile ini(Path());
    for (int i = 0; i < 5; ++i)
        ini.WriteInteger("A", QString("k%1").arg(i), i);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"Korvid.ini"}));
}

TEST_F(IniFileTest, RefusedWriteRaisesAndChangesNothing)
{
    // A directory where the file should be cannot be replaced by a file.
    const QString blocked = dir.filePath("blocked.ini");
    ASSERT_TRUE(QDir().mkdir(blocked));
    TIniFile ini(blocked);
    try {
        ini.WriteString("A", "k", "v");
        FAIL() << "no error raised";
    } catch (const EKorvidError &e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + blocked);
    }
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}

TEST_F(IniFileTest, WriteBelowAFileRaises)
{
    WriteRaw("[A]\r\n");
    const QString impossible = Path() + "/sub/Korvid.ini";
    TIniFile ini(impossible);
    EXPECT_THROW(ini.WriteBool("A", "b", true), EKorvidError);
    EXPECT_EQ(ReadRaw(), "[A]\r\n");
}

// Run as "nobody" when the tests run as root, whose rights ignore permissions.
TEST_F(IniFileTest, ReadOnlyFileIsRefused)
{
    WriteRaw("[A]\r\nk=old\r\n");
    QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadUser);
    TChildSetup setup;
    setup.asNobody = true;
    setup.givenToNobody = {dir.path(), Path()};
    const TChildResult result = RunInChild(setup, [&]() -> std::string {
        if (QFileInfo(Path()).isWritable())
            return "the file is writable for this user";
        try {
            TIniFile(Path()).WriteString("A", "k", "new");
        } catch (const EKorvidError &) {
            return {};
        }
        return "no error raised";
    });
    if (result.status == TChildResult::Unavailable)
        GTEST_SKIP() << result.message;
    EXPECT_EQ(result.status, TChildResult::Passed) << result.message;
    EXPECT_EQ(ReadRaw(), "[A]\r\nk=old\r\n");
}

// A settings file that exists but cannot be read is taken as empty and never
// written: not by a write, not by the start-up preparation. Run as "nobody",
// to whom the permissions apply.
struct UnreadableCase {
    const char *name;
    void (*make)(const QString &path); // puts the unreadable thing at path
    bool isFile; // its bytes can be compared afterwards
};

void MakeWriteOnly(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("[Folders]\r\nWorkingDir=<approot>\\Samples\r\n");
    file.close();
    ::chmod(QFile::encodeName(path).constData(), 0200);
}

void MakeFolder(const QString &path)
{
    QDir().mkpath(path + "/inside");
}

void MakeFifo(const QString &path)
{
    ::mkfifo(QFile::encodeName(path).constData(), 0600);
}

void MakeHuge(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.resize(TIniFile::MaxFileSize + 1);
}

const UnreadableCase kUnreadableCases[] = {
    {"no read permission", MakeWriteOnly, true},
    {"a folder in its place", MakeFolder, false},
    {"a FIFO in its place", MakeFifo, false},
    {"larger than any settings file", MakeHuge, true},
};

QByteArray Snapshot(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return info.isDir() ? "<folder>" : "<other>";
    QFile file(path);
    ::chmod(QFile::encodeName(path).constData(), 0600);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

std::string CheckUnreadable(const QString &path)
{
    std::string failure;
    const TIniFile ini(path);
    if (!ini.Unreadable() || ini.ReadError().isEmpty())
        failure += "not seen as unreadable; ";
    if (ini.ReadString("Folders", "WorkingDir", "<def>") != "<def>")
        failure += "a value was read; ";
    try {
        TIniFile(path).WriteString("Folders", "WorkingDir", "/new");
        failure += "written; ";
    } catch (const EKorvidError &e) {
        if (e.Message() != "Unable to write to " + path)
            failure += "message: " + e.Message().toStdString() + "; ";
    }
    Settings::PrepareAppRoot(path, "/opt/velmo/");
    return failure;
}

class UnreadableIniTest : public IniFileTest, public ::testing::WithParamInterface<UnreadableCase> { };

TEST_P(UnreadableIniTest, IsNeverWritten)
{
    const UnreadableCase &c = GetParam();
    c.make(Path());
    const QByteArray before = c.isFile ? Snapshot(Path()) : QByteArray();
    if (c.isFile)
        c.make(Path()); // Snapshot made it readable again
    TChildSetup setup;
    setup.asNobody = true;
    setup.givenToNobody = {dir.path(), Path()};
    const TChildResult result = RunInChild(setup, [&] { return CheckUnreadable(Path()); });
    if (result.status == TChildResult::Unavailable)
        GTEST_SKIP() << result.message;
    EXPECT_EQ(result.status, TChildResult::Passed) << result.message;
    if (c.isFile)
        EXPECT_EQ(Snapshot(Path()), before);
    else
        EXPECT_FALSE(QFileInfo(Path()).isFile());
}

INSTANTIATE_TEST_SUITE_P(Table, UnreadableIniTest, ::testing::ValuesIn(kUnreadableCases),
                         NameByField(&UnreadableCase::name));

// A session that changes nothing writes nothing: no preparation without a
// placeholder, no write of a value the file already holds. A read-only
// settings file therefore gives no error at start or end.
TEST_F(IniFileTest, NothingChangedNothingWritten)
{
    const QByteArray text = "[Folders]\nWorkingDir=/w\nFilterBas=1\n; a note\n";
    WriteRaw(text);
    TChildSetup setup;
    setup.asNobody = true;
    setup.givenToNobody = {dir.path(), Path()};
    const TChildResult result = RunInChild(setup, [&]() -> std::string {
        ::chmod(QFile::encodeName(Path()).constData(), 0444);
        try {
            Settings::PrepareAppRoot(Path(), "/opt/velmo/");
            TIniFile ini(Path());
            ini.WriteString("Folders", "WorkingDir", ini.ReadString("Folders", "WorkingDir", ""));
            ini.WriteInteger("folders", "filterbas", 1);
        } catch (const EKorvidError &e) {
            return e.Message().toStdString();
        }
        return {};
    });
    if (result.status == TChildResult::Unavailable)
        GTEST_SKIP() << result.message;
    EXPECT_EQ(result.status, TChildResult::Passed) << result.message;
    EXPECT_EQ(ReadRaw(), text);
}

TEST_F(IniFileTest, WriteCreatesMissingDirectory)
{
    const QString nested = dir.filePath("config/Korvid/Korvid.ini");
    TIniFile ini(nested);
    ini.WriteString("A", "k", "v");
    EXPECT_EQ(ini.ReadString("A", "k", ""), "v");
}

} // namespace
