#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <optional>

// The framing both protocol peers of the workbench use on a child program's
// standard input and output (the simulated module's debugger, the language
// server): each message is a "Content-Length: N" header block, an empty line
// and N bytes of JSON.
QByteArray FrameMessage(const QJsonObject &message);

// Collects the bytes a peer sends and cuts them into messages. A header block
// without a valid length, a body that is not a JSON object or a message over
// kMaxMessage bytes marks the stream broken: nothing after it can be trusted.
class TMessageReader {
public:
    static constexpr qsizetype kMaxMessage = 16 << 20;
    static constexpr qsizetype kMaxHeader = 4096;

    void Append(const QByteArray &bytes)
    {
        m_buffer.append(bytes);
    }
    // The next whole message, or nothing when more bytes are needed or the
    // stream is broken.
    std::optional<QJsonObject> Next();
    bool Broken() const
    {
        return m_broken;
    }

private:
    std::optional<QJsonObject> Fail();

    QByteArray m_buffer;
    bool m_broken = false;
};
