// What the simulator tells on standard error: with --trace every change of
// the virtual hardware, and always one notice per kind of statement that has
// nothing to simulate. Nothing of it goes to the serial line.
#pragma once

#include <cstdio>
#include <set>
#include <string>

namespace velsim {

class CTrace {
public:
    explicit CTrace(std::FILE *out = stderr)
        : m_out(out)
    {
    }

    void Enable(bool on)
    {
        m_enabled = on;
    }
    bool Enabled() const
    {
        return m_enabled;
    }
    // Sends the output to another stream (tests).
    void SetOutput(std::FILE *out)
    {
        m_out = out;
    }

    // A change of the virtual hardware, e.g. "PORT1.0 = 1".
    void Change(const std::string &what);
    // Once per kind: "<what> is not simulated; it does nothing."
    void NotSimulated(const char *what);

private:
    std::FILE *m_out;
    bool m_enabled = false;
    std::set<std::string> m_noticed;
};

} // namespace velsim
