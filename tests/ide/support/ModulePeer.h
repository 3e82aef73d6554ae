#pragma once

// A module's loader played on the far side of a pseudo-terminal, on a thread
// of its own: it answers the reset command as scripted, then reads each
// record it expects and answers it, and records every byte it received.

#include "PtyPeer.h"

#include <QByteArray>
#include <QList>
#include <atomic>
#include <thread>

struct TLoaderScript {
    // The answer to each reset command, by attempt; none after the list.
    QList<QByteArray> resetReplies = {"OK"};
    QByteArray acknowledge = ".";
    // The record after which the module fails: it answers failReply instead
    // of the acknowledgement, or hangs up.
    int failAt = -1;
    QByteArray failReply;
    bool hangUpAtFail = false;
    // Answered after the last record, which the transfer must not wait for.
    QByteArray afterLast;
};

class TModulePeer {
public:
    static constexpr int kResetSize = 4;

    TModulePeer(TPtyPeer &peer, TLoaderScript script, QList<QByteArray> records, int waitMs = 3000)
        : m_peer(peer)
        , m_script(std::move(script))
        , m_records(std::move(records))
        , m_waitMs(waitMs)
    {
        m_thread = std::thread([this] { Play(); });
    }
    ~TModulePeer()
    {
        Join();
    }
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    // Every byte the module received (after Join).
    QByteArray Received() const
    {
        return m_received;
    }
    // The reset commands answered so far (also while the module plays).
    int Resets() const
    {
        return m_resets.load();
    }

private:
    void Play()
    {
        if (!Handshake())
            return;
        for (qsizetype i = 0; i < m_records.size(); ++i) {
            const QByteArray record = m_peer.Read(m_records[i].size(), m_waitMs);
            m_received += record;
            if (record.size() < m_records[i].size())
                return;
            if (i == m_script.failAt) {
                if (m_script.hangUpAtFail)
                    m_peer.Hangup();
                else
                    m_peer.Write(m_script.failReply);
                return;
            }
            m_peer.Write(i + 1 < m_records.size() ? m_script.acknowledge : m_script.afterLast);
        }
    }
    bool Handshake()
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QByteArray reset = m_peer.Read(kResetSize, m_waitMs);
            m_received += reset;
            if (reset.size() < kResetSize)
                return false;
            ++m_resets;
            const QByteArray reply = m_script.resetReplies.value(attempt);
            m_peer.Write(reply);
            if (reply.endsWith("OK"))
                return true;
        }
        return false;
    }

    TPtyPeer &m_peer;
    TLoaderScript m_script;
    QList<QByteArray> m_records;
    int m_waitMs;
    QByteArray m_received;
    std::atomic<int> m_resets{0};
    std::thread m_thread;
};
