#include "OutputFile.h"

#include "Paths.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The temporary file's name in the target's folder: short enough for any
// file system's name limit, hidden, and unique by mkstemp.
constexpr char kTempPattern[] = ".velc-XXXXXX";

bool WriteAll(int fd, const std::string &contents)
{
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string TempNameIn(const std::string &folder)
{
    if (folder.empty())
        return kTempPattern;
    return folder.back() == '/' ? folder + kTempPattern : folder + "/" + kTempPattern;
}

// mkstemp creates the file for its owner only; give it the usual permissions.
bool SetUsualPermissions(int fd)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::fchmod(fd, 0666 & ~mask) == 0;
}

} // namespace

bool CPendingFile::Write(const std::string &path, const std::string &contents, Flush flush)
{
    Discard();
    std::string temp = TempNameIn(DirectoryOf(path));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    m_path = path;
    m_temp = temp;
    bool ok = WriteAll(fd, contents);
    ok = SetUsualPermissions(fd) && ok;
    if (flush == Flush::kToDisk)
        ok = ::fdatasync(fd) == 0 && ok; // on the disk before the rename: old or new, never empty
    ok = ::close(fd) == 0 && ok;
    if (!ok)
        Discard();
    return ok;
}

bool CPendingFile::Commit()
{
    if (m_temp.empty())
        return false;
    const bool ok = std::rename(m_temp.c_str(), m_path.c_str()) == 0;
    if (!ok)
        Discard();
    m_temp.clear();
    return ok;
}

void CPendingFile::Discard()
{
    if (!m_temp.empty())
        ::unlink(m_temp.c_str());
    m_temp.clear();
}

bool WriteFileAtomically(const std::string &path, const std::string &contents, Flush flush)
{
    CPendingFile file;
    if (file.Write(path, contents, flush) && file.Commit())
        return true;
    RemoveOutputFile(path);
    return false;
}

void RemoveOutputFile(const std::string &path)
{
    ::unlink(path.c_str()); // unlink never removes a directory
}

std::string WithCrLf(const std::string &text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}
