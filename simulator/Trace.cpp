#include "Trace.h"

#include "ModuleMessages.h"

namespace velsim {

void CTrace::Change(const std::string &what)
{
    if (!m_enabled || !m_out)
        return;
    std::fprintf(m_out, "trace: %s\n", what.c_str());
    std::fflush(m_out);
}

void CTrace::NotSimulated(const char *what)
{
    if (!m_out || !m_noticed.insert(what).second)
        return;
    std::fputs(NotSimulatedNotice(what).c_str(), m_out);
    std::fflush(m_out);
}

} // namespace velsim
