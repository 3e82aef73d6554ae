#include "RepaintThrottle.h"

bool TRepaintThrottle::Request(qint64 t)
{
    if (Wait(t) > 0)
        return false;
    m_last = t;
    return true;
}

qint64 TRepaintThrottle::Wait(qint64 t) const
{
    if (!m_last)
        return 0;
    const qint64 grantedFrom = *m_last + kInterval + 1;
    return t >= grantedFrom ? 0 : grantedFrom - t;
}
