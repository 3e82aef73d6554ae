#include "WholeFile.h"

#include "Errors.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// A name beside the file that no other save uses at the same time.
QByteArray TempName(const QString &fileName)
{
    static std::atomic<unsigned> counter{0};
    const QFileInfo info(fileName);
    return QFile::encodeName(
        info.absolutePath() +
        QStringLiteral("/.%1.%2-%3.tmp").arg(info.fileName()).arg(::getpid()).arg(counter.fetch_add(1)));
}

// The temporary file beside the file, removed unless it was renamed. It gets
// the old file's permissions, or those a new file gets.
class TTempBeside {
public:
    explicit TTempBeside(const QString &fileName)
        : m_path(TempName(fileName))
        , m_fd(::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666))
    {
        struct stat old { };
        if (m_fd >= 0 && ::stat(QFile::encodeName(fileName).constData(), &old) == 0)
            ::fchmod(m_fd, old.st_mode & 07777);
    }
    TTempBeside(const TTempBeside &) = delete;
    TTempBeside &operator=(const TTempBeside &) = delete;
    ~TTempBeside()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed && !m_failedOpen)
            ::unlink(m_path.constData());
    }

    // 0, or the system's error of the step that failed.
    int Write(const QByteArray &bytes)
    {
        if (m_fd < 0)
            return m_openError;
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return n < 0 ? errno : ENOSPC;
            done += n;
        }
        if (::fsync(m_fd) != 0 || ::close(std::exchange(m_fd, -1)) != 0)
            return errno;
        return 0;
    }
    int RenameTo(const QString &fileName)
    {
        if (::rename(m_path.constData(), QFile::encodeName(fileName).constData()) != 0)
            return errno;
        m_renamed = true;
        return 0;
    }

private:
    QByteArray m_path;
    int m_fd;
    int m_openError = m_fd < 0 ? errno : 0;
    bool m_failedOpen = m_fd < 0;
    bool m_renamed = false;
};

} // namespace

void WriteWholeFile(const QString &fileName, const QByteArray &bytes)
{
    TTempBeside temp(fileName);
    int error = temp.Write(bytes);
    if (error == 0)
        error = temp.RenameTo(fileName);
    if (error != 0)
        throw EKorvidError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, SystemErrorText(error)));
}
