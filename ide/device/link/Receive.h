#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

class TMcuComPort;

// Splits the byte stream the module sends into text for the console and
// samples for the scope. A sample is "#", a channel digit "0" to "3" and a
// number of "-", "." and digits, ended by any other byte (which is then read
// as ordinary input). The parser's state carries over from one received
// chunk to the next, so a sample split across chunks is still recognised.
class TMcuComRecv {
public:
    using TOnText = std::function<void(TMcuComRecv *sender, const QByteArray &text)>;
    using TOnValue = std::function<void(TMcuComRecv *sender, quint8 channel, float value)>;

    static constexpr int kMaxNumberLength = 100;

    enum TState : quint8 { rsText = 0, rsHash = 1, rsNumber = 2 };

    TMcuComRecv() = default;
    virtual ~TMcuComRecv();
    TMcuComRecv(const TMcuComRecv &) = delete;
    TMcuComRecv &operator=(const TMcuComRecv &) = delete;

    // Attaches the port (taking its receive event); a port attached before
    // lets go of it.
    void SetPort(TMcuComPort *port);
    // The port's receive event: reads Count bytes and dispatches them.
    void HandleReceive(TMcuComPort *sender, quint16 Count);
    // Dispatches one received chunk: the samples it completes first, then at
    // most one text event with the chunk's text, whole and in order.
    void Dispatch(const char *data, qsizetype size);
    void Dispatch(const QByteArray &chunk)
    {
        Dispatch(chunk.constData(), chunk.size());
    }

    TState State() const
    {
        return m_state;
    }

    TOnText OnText;
    TOnValue OnValue; // the scope's AddSample

    // The number of a sample: optional minus, digits, an optional "." and
    // digits; a lone point is 0. None when empty, a lone minus, a minus after
    // the start or a second point.
    static std::optional<float> ParseNumber(const QByteArray &text);

protected:
    virtual void DoText();
    virtual void DoValue();

private:
    void ScanText(const char *&p, const char *end);
    void ScanNumber(const char *&p, const char *end);

    TMcuComPort *m_port = nullptr;
    TState m_state = rsText;
    quint8 m_channel = 0;
    QByteArray m_number;
    QByteArray m_pending;
    QByteArray m_buffer; // the chunk read from the port, kept for its capacity
};
