// A file the user keeps (a console text, a scope export or picture) written
// whole or not at all, and a failure that names its cause as the system
// gives it: never "Unknown error".

#include "Errors.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>

namespace {

// Files larger than `bytes` cannot be written while it lives (a disk that
// fills up); the write fails with EFBIG instead of ending the program.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit = {bytes, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~TFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
};

struct TRefusedCase {
    const char *name;
    const char *target; // in the test's folder
    const char *folder; // made before, or ""
    qsizetype size; // bytes written
    rlim_t sizeLimit; // 0: none
    int cause; // the errno the message names
};

class WholeFileRefusedTest : public ::testing::TestWithParam<TRefusedCase> { };

TEST_P(WholeFileRefusedTest, AFailureNamesTheFileAndTheCauseAndLeavesNothing)
{
    const TRefusedCase &c = GetParam();
    QTemporaryDir dir;
    const QString name = dir.filePath(c.target);
    if (c.folder[0]) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(c.folder));
    }
    QFile old(dir.filePath("old.csv"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
    old.close();
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QString message;
    {
        std::optional<TFileSizeLimit> limit;
        if (c.sizeLimit)
            limit.emplace(c.sizeLimit);
        try {
            WriteWholeFile(name, QByteArray(c.size, 'x'));
        } catch (const EKorvidError &e) {
            message = e.Message();
        }
    }
    const QString cause = QString::fromLocal8Bit(std::strerror(c.cause));
    EXPECT_EQ(message.toStdString(), QStringLiteral("Cannot create file \"%1\". %2").arg(name, cause).toStdString());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old\n")); // a failed save of it leaves it as it was
}

INSTANTIATE_TEST_SUITE_P(Causes, WholeFileRefusedTest,
                         ::testing::Values(TRefusedCase{"disk_full_while_writing", "samples.csv", "", 1 << 16, 4096,
                                                        EFBIG},
                                           TRefusedCase{"old_file_on_a_full_disk", "old.csv", "", 1 << 16, 4096, EFBIG},
                                           TRefusedCase{"folder_in_the_way", "taken", "taken/inside", 10, 0, EISDIR},
                                           TRefusedCase{"missing_folder", "none/samples.csv", "", 10, 0, ENOENT}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(WholeFile, ReplacesTheContentsAndKeepsThePermissions)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("console.txt");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("old contents\n") > 0);
    file.close();
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    WriteWholeFile(name, "new\n");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new\n"));
    const QFile::Permissions modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
        QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(file.permissions() & modeBits, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"console.txt"});
}

} // namespace
