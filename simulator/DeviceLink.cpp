#include "DeviceLink.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace velsim {

namespace {

std::string LinkTarget(const std::string &path)
{
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    return n < 0 ? std::string() : std::string(target, static_cast<size_t>(n));
}

} // namespace

CDeviceLink::~CDeviceLink()
{
    Remove();
}

bool CDeviceLink::Make(const std::string &path, const std::string &device, std::string &error)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = path + " exists and is not a symbolic link; it is left as it is";
        return false;
    }
    // Made under a temporary name and renamed over the old link, so the path
    // always names either the old device or the new one.
    const std::string temporary = path + ".velsim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(device.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot make the link " + path + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    m_path = path;
    m_device = device;
    return true;
}

void CDeviceLink::Remove()
{
    if (!m_path.empty() && LinkTarget(m_path) == m_device)
        ::unlink(m_path.c_str());
    m_path.clear();
}

} // namespace velsim
