#include "ConsoleHistory.h"

#include <algorithm>

TConsoleHistory::TConsoleHistory(int limit)
    : m_limit(std::max(limit, 1))
{
}

void TConsoleHistory::SetLimit(int limit)
{
    limit = std::max(limit, 1);
    if (limit == m_limit)
        return;
    const int keep = std::min(m_size, limit);
    std::vector<QByteArray> ring;
    ring.reserve(std::size_t(keep));
    for (qint64 n = m_end - keep; n < m_end; ++n)
        ring.push_back(Line(n));
    m_ring = std::move(ring);
    m_limit = limit;
    m_size = keep;
    m_next = std::size_t(keep) % std::size_t(limit);
}

void TConsoleHistory::Append(QByteArray line)
{
    if (m_ring.size() < std::size_t(m_limit)) {
        m_ring.push_back(std::move(line));
        m_next = m_ring.size() % std::size_t(m_limit);
    } else {
        m_ring[m_next] = std::move(line);
        m_next = (m_next + 1) % std::size_t(m_limit);
    }
    m_size = std::min(m_size + 1, m_limit);
    ++m_end;
}

void TConsoleHistory::Clear()
{
    m_ring.clear();
    m_size = 0;
    m_next = 0;
}

const QByteArray &TConsoleHistory::Line(qint64 n) const
{
    // The oldest line sits where the next one goes once the ring is full.
    const std::size_t oldest = m_ring.size() < std::size_t(m_limit) ? 0 : m_next;
    return m_ring[(oldest + std::size_t(n - First())) % m_ring.size()];
}
