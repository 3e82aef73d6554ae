// Saving a user's file: the old contents survive every failed save, and the
// message says the system's reason. Each case runs in a child process with
// the rights of "nobody" (so folder and file permissions apply) and, for a
// full disk, a file system of 64 KiB of its own.

#include "../support/CaseNames.h"
#include "../support/ChildCheck.h"
#include "Errors.h"
#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

struct SaveCase {
    const char *name;
    bool folderWritable;
    bool fileWritable;
    bool fileExists;
    bool copyFolderWritable; // where the safety copy of an in-place write goes
    bool smallDisk; // the folder lies on a 64 KiB file system
    bool saved;
    int reason; // the system error the message names when not saved
};

const SaveCase kSaveCases[] = {
    {"writable folder", true, true, true, true, false, true, 0},
    {"writable folder, disk full", true, true, true, true, true, false, ENOSPC},
    {"folder without write rights", false, true, true, true, false, true, 0},
    {"folder without write rights, disk full", false, true, true, true, true, false, ENOSPC},
    {"folder without write rights, no place for a copy", false, true, true, false, false, false, EACCES},
    {"file without write rights", true, false, true, true, false, false, EACCES},
    {"new file in a folder without write rights", false, true, false, true, false, false, EACCES},
};

const QByteArray kOld = QByteArray("10 PRINT \"old\"\r\n").repeated(512); // 8 KiB
const QByteArray kNew = QByteArray("20 PRINT \"new text\"\r\n").repeated(12000); // 252 KiB

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Lays out the folder, saves, and returns what differs from the case.
std::string SaveAndCheck(const SaveCase &c, const QString &folder, const QString &copies)
{
    const QString path = folder + "/prog.bas";
    QDir().mkpath(folder);
    QDir().mkpath(copies);
    if (c.fileExists) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(kOld) != kOld.size())
            return "cannot lay out the old file";
    }
    ::chmod(QFile::encodeName(path).constData(), c.fileWritable ? 0640 : 0440);
    ::chmod(QFile::encodeName(folder).constData(), c.folderWritable ? 0755 : 0555);
    ::chmod(QFile::encodeName(copies).constData(), c.copyFolderWritable ? 0755 : 0555);
    qputenv("TMPDIR", QFile::encodeName(copies));
    qunsetenv("XDG_RUNTIME_DIR");

    std::string failure;
    try {
        WriteFileSafely(path, kNew);
        if (!c.saved)
            failure += "saved although it should fail; ";
    } catch (const EKorvidError &e) {
        const QString reason = QString::fromLocal8Bit(std::strerror(c.reason));
        if (c.saved)
            failure += "not saved: " + e.Message().toStdString() + "; ";
        else if (!e.Message().contains(reason) || !e.Message().contains(path))
            failure += "message without file or reason: " + e.Message().toStdString() + "; ";
    }
    const QByteArray expected = c.saved ? kNew : c.fileExists ? kOld : QByteArray("<missing>");
    if (Contents(path) != expected)
        failure += "the file holds " + std::to_string(Contents(path).size()) + " other bytes; ";
    if (c.saved && (QFileInfo(path).permissions() & QFileDevice::ReadGroup) == 0)
        failure += "the file's permissions were not kept; ";
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    if (left != (c.fileExists || c.saved ? QStringList{"prog.bas"} : QStringList{}))
        failure += "the folder holds " + left.join(' ').toStdString() + "; ";
    if (!QDir(copies).entryList(QDir::Files | QDir::Hidden).isEmpty())
        failure += "a safety copy was left behind; ";
    return failure;
}

class SafeWriteTest : public ::testing::TestWithParam<SaveCase> {
protected:
    QTemporaryDir dir;
};

TEST_P(SafeWriteTest, OldContentsSurviveEveryFailedSave)
{
    const SaveCase &c = GetParam();
    const QString disk = dir.filePath("disk");
    ASSERT_TRUE(QDir().mkpath(disk));
    TChildSetup setup;
    setup.asNobody = true;
    setup.givenToNobody = {dir.path(), disk};
    if (c.smallDisk) {
        setup.smallDisk = disk;
        setup.smallDiskKiB = 64;
    }
    const TChildResult result =
        RunInChild(setup, [&] { return SaveAndCheck(c, disk + "/src", dir.filePath("copies")); });
    if (result.status == TChildResult::Unavailable)
        GTEST_SKIP() << result.message;
    EXPECT_EQ(result.status, TChildResult::Passed) << result.message;
}

INSTANTIATE_TEST_SUITE_P(Table, SafeWriteTest, ::testing::ValuesIn(kSaveCases), NameByField(&SaveCase::name));

TEST(SafeWriteLinkTest, ALinkIsWrittenThrough)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("real.bas");
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kOld);
    file.close();
    ASSERT_TRUE(QFile::link(target, dir.filePath("link.bas")));
    WriteFileSafely(dir.filePath("link.bas"), "new");
    EXPECT_TRUE(QFileInfo(dir.filePath("link.bas")).isSymLink());
    EXPECT_EQ(Contents(target), "new");
}

} // namespace
