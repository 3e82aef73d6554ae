#pragma once

// A module's loader behind a pseudo-terminal, served from the test's event
// loop: it answers the reset command with "OK" and every record but the
// end-of-file record with the acknowledgement byte. Like the module, it
// finds the end of a record from the record's own length field, since no
// line end is sent. Tests can hold the acknowledgements back after a number
// of records, or answer with a wrong byte.

#include "PtyPeer.h"

#include <QList>
#include <QObject>
#include <QTimer>

class TLoaderPeer {
public:
    TLoaderPeer()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Serve(); });
        m_timer.start();
    }

    QString Path() const
    {
        return m_pty.Path();
    }
    TPtyPeer &Pty()
    {
        return m_pty;
    }

    // Every record received, as sent.
    QList<QByteArray> Records;
    // Reset commands received.
    int Resets = 0;
    // The byte that acknowledges a record.
    char Ack = '.';
    // No acknowledgement after this many until Release(); -1 for none held.
    int HoldAfter = -1;

    void Release()
    {
        HoldAfter = -1;
        Serve();
    }

private:
    static constexpr char kReset[] = "\x01\x30\x81\x1B";

    void Serve()
    {
        m_input += m_pty.ReadAvailable();
        while (TakeReset() || TakeRecord()) { }
        while (m_unanswered > 0 && (HoldAfter < 0 || m_answered < HoldAfter)) {
            m_pty.Write(QByteArray(1, Ack));
            --m_unanswered;
            ++m_answered;
        }
    }
    bool TakeReset()
    {
        const qsizetype at = m_input.indexOf(QByteArray(kReset, 4));
        if (at < 0)
            return false;
        m_input.remove(0, at + 4);
        ++Resets;
        m_pty.Write("OK");
        return true;
    }
    bool TakeRecord()
    {
        const qsizetype start = m_input.indexOf(':');
        if (start < 0 || m_input.size() < start + 3)
            return false;
        bool ok = false;
        const int length = m_input.mid(start + 1, 2).toInt(&ok, 16);
        const qsizetype size = 11 + 2 * qsizetype(ok ? length : 0);
        if (m_input.size() < start + size)
            return false;
        const QByteArray record = m_input.mid(start, size);
        m_input.remove(0, start + size);
        Records << record;
        if (record.mid(7, 2) != "01")
            ++m_unanswered;
        return true;
    }

    TPtyPeer m_pty;
    QTimer m_timer;
    QByteArray m_input;
    int m_unanswered = 0;
    int m_answered = 0;
};
