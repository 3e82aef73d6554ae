// The --link symbolic link to the pseudo-terminal. It is only ever made
// where nothing but an older link stands, so no file of the user is
// replaced, and it is removed again at the end if it still points to the
// device.
#pragma once

#include <string>

namespace velsim {

class CDeviceLink {
public:
    CDeviceLink() = default;
    ~CDeviceLink();
    CDeviceLink(const CDeviceLink &) = delete;
    CDeviceLink &operator=(const CDeviceLink &) = delete;

    // False with the reason when `path` cannot become a link to `device`.
    bool Make(const std::string &path, const std::string &device, std::string &error);
    void Remove();

private:
    std::string m_path;
    std::string m_device;
};

} // namespace velsim
