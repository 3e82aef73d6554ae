#include "SafeWrite.h"

#include "Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a failed save says: the file, the system's reasons and, when the old
// contents could not be put back, where they are kept.
const char kSaveFailed[] =
    "Cannot save \"%1\": %2. The file was left as it was; use Save As to save the text under another name.";
const char kNoSafeWay[] = "Cannot save \"%1\": no temporary file can be made in its folder (%2), and no safety copy "
                          "of it elsewhere (%3). The file was left as it was; use Save As to save the text under "
                          "another name.";
const char kNotRestored[] = "Cannot save \"%1\": %2. Its old contents could not be put back; they are kept in \"%3\".";

// An open file descriptor, closed when it goes.
class TFd {
public:
    explicit TFd(int fd)
        : m_fd(fd)
    {
    }
    TFd(const TFd &) = delete;
    TFd &operator=(const TFd &) = delete;
    ~TFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int Get() const
    {
        return m_fd;
    }
    // Closes at once: 0, or the error a delayed write reports here.
    int Close()
    {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// The file the name stands for: links resolved, and whether it exists.
struct TTarget {
    QByteArray path;
    bool exists = false;
    struct stat info { };
};

QString Reason(int code)
{
    const QString text = SystemErrorText(code);
    return text.isEmpty() ? QStringLiteral("system error %1").arg(code) : text;
}

EKorvidError SaveFailed(const QString &fileName, int code)
{
    return EKorvidError(QString::fromLatin1(kSaveFailed).arg(fileName, Reason(code)));
}

TTarget Resolve(const QString &fileName)
{
    TTarget target;
    const QFileInfo info(fileName);
    target.path = QFile::encodeName(info.exists() ? info.canonicalFilePath() : info.absoluteFilePath());
    target.exists = ::stat(target.path.constData(), &target.info) == 0;
    return target;
}

QString FolderOf(const QByteArray &path)
{
    return QFileInfo(QFile::decodeName(path)).absolutePath();
}

// The safety copy goes to the user's runtime folder, or the temporary one.
QString CopyFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    return QDir::tempPath();
}

// A new file with a name no one can guess, made only where no file of that
// name exists (a planted link is not followed); -1 and errno on failure.
int CreateUnique(const QString &folder, const char *prefix, QByteArray &name)
{
    name = QFile::encodeName(QDir(folder).filePath(QString::fromLatin1(prefix))) + "XXXXXX";
    return ::mkostemp(name.data(), O_CLOEXEC);
}

int WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        done += n;
    }
    return 0;
}

int ReadAll(int fd, QByteArray &bytes)
{
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        bytes.append(buffer, n);
    }
}

int WriteAndSync(int fd, const QByteArray &bytes)
{
    int rc = WriteAll(fd, bytes);
    if (rc == 0 && ::fsync(fd) != 0)
        rc = errno;
    return rc;
}

// Puts bytes at the start of an open file, cuts the file to their length and
// flushes it to the disk. Nothing is cut before the bytes are written, so
// putting the old contents back never needs more room than they had.
int Overwrite(int fd, const QByteArray &bytes)
{
    if (::lseek(fd, 0, SEEK_SET) < 0)
        return errno;
    int rc = WriteAll(fd, bytes);
    if (rc == 0 && ::ftruncate(fd, bytes.size()) != 0)
        rc = errno;
    if (rc == 0 && ::fsync(fd) != 0)
        rc = errno;
    return rc;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The rename reaches the disk with the folder's entry.
void SyncFolder(const QByteArray &path)
{
    const TFd folder(::open(QFile::encodeName(FolderOf(path)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}

// The new file takes the old one's permissions and, where allowed, its owner.
void TakeOverAttributes(int fd, const TTarget &target)
{
    if (!target.exists) {
        ::fchmod(fd, NewFileMode());
        return;
    }
    ::fchmod(fd, target.info.st_mode & 07777);
    if (::fchown(fd, target.info.st_uid, target.info.st_gid) != 0)
        return; // another user's file: it becomes ours, as any new file would
}

void ReplaceThroughTemporary(const QString &fileName, const TTarget &target, TFd &temp, const QByteArray &tempName,
                             const QByteArray &bytes)
{
    TakeOverAttributes(temp.Get(), target);
    int rc = WriteAndSync(temp.Get(), bytes);
    if (rc == 0)
        rc = temp.Close();
    if (rc == 0 && ::rename(tempName.constData(), target.path.constData()) != 0)
        rc = errno;
    if (rc != 0) {
        ::unlink(tempName.constData());
        throw SaveFailed(fileName, rc);
    }
    SyncFolder(target.path);
}

// A copy of the old contents in the copy folder, read back and compared.
int KeepVerifiedCopy(const QByteArray &old, QByteArray &copyName)
{
    const TFd copy(CreateUnique(CopyFolder(), "korvid-copy-", copyName));
    if (copy.Get() < 0)
        return errno;
    int rc = WriteAndSync(copy.Get(), old);
    QByteArray back;
    if (rc == 0 && ::lseek(copy.Get(), 0, SEEK_SET) < 0)
        rc = errno;
    if (rc == 0)
        rc = ReadAll(copy.Get(), back);
    if (rc == 0 && back != old)
        rc = EIO;
    if (rc != 0)
        ::unlink(copyName.constData());
    return rc;
}

void WriteInPlaceWithCopy(const QString &fileName, const TTarget &target, const QByteArray &bytes, int besideError)
{
    const TFd file(::open(target.path.constData(), O_RDWR | O_CLOEXEC));
    if (file.Get() < 0)
        throw SaveFailed(fileName, errno);
    QByteArray old;
    int rc = ReadAll(file.Get(), old);
    if (rc != 0)
        throw SaveFailed(fileName, rc);
    QByteArray copyName;
    rc = KeepVerifiedCopy(old, copyName);
    if (rc != 0)
        throw EKorvidError(QString::fromLatin1(kNoSafeWay).arg(fileName, Reason(besideError), Reason(rc)));
    rc = Overwrite(file.Get(), bytes);
    if (rc != 0 && Overwrite(file.Get(), old) != 0)
        throw EKorvidError(QString::fromLatin1(kNotRestored).arg(fileName, Reason(rc), QFile::decodeName(copyName)));
    ::unlink(copyName.constData());
    if (rc != 0)
        throw SaveFailed(fileName, rc);
}

} // namespace

void WriteFileSafely(const QString &fileName, const QByteArray &bytes)
{
    const TTarget target = Resolve(fileName);
    if (target.exists && ::access(target.path.constData(), W_OK) != 0)
        throw SaveFailed(fileName, errno);
    QByteArray tempName;
    TFd temp(CreateUnique(FolderOf(target.path), ".korvid-", tempName));
    if (temp.Get() >= 0) {
        ReplaceThroughTemporary(fileName, target, temp, tempName, bytes);
        return;
    }
    const int besideError = errno;
    if (!target.exists)
        throw SaveFailed(fileName, besideError);
    WriteInPlaceWithCopy(fileName, target, bytes, besideError);
}
