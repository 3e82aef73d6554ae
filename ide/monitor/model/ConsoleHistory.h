#pragma once

#include <QByteArray>
#include <vector>

// The console lines that have scrolled off the top of the screen, oldest
// first, in a ring of fixed capacity: when it is full, the oldest line makes
// room for the new one, so the memory stays bounded by the limit.
//
// Lines are numbered since the console started (or since the last Clear):
// First() is the number of the oldest line kept, End() one past the newest.
// A number keeps naming the same line while lines are added, so a view that
// remembers a number stays on its text until the ring drops that line.
class TConsoleHistory {
public:
    static constexpr int kDefaultLimit = 10000;

    explicit TConsoleHistory(int limit = kDefaultLimit);

    int Limit() const
    {
        return m_limit;
    }
    // Keeps the newest lines that fit the new limit (at least 1).
    void SetLimit(int limit);

    void Append(QByteArray line);
    // Forgets every line; the numbering goes on from End().
    void Clear();

    qint64 First() const
    {
        return m_end - qint64(m_size);
    }
    qint64 End() const
    {
        return m_end;
    }
    int Size() const
    {
        return m_size;
    }
    // The line numbered n, First() <= n < End().
    const QByteArray &Line(qint64 n) const;

private:
    std::vector<QByteArray> m_ring; // grows up to the limit, then wraps
    int m_limit;
    int m_size = 0;
    std::size_t m_next = 0; // where the next line goes
    qint64 m_end = 0;
};
