#include "Receive.h"

#include "Serial.h"

#include <algorithm>
#include <cstring>

TMcuComRecv::~TMcuComRecv()
{
    SetPort(nullptr);
}

void TMcuComRecv::SetPort(TMcuComPort *port)
{
    if (m_port)
        m_port->OnReceive = nullptr;
    m_port = port;
    if (m_port)
        m_port->OnReceive = [this](TMcuComPort *sender, quint16 count) { HandleReceive(sender, count); };
}

void TMcuComRecv::HandleReceive(TMcuComPort *sender, quint16 Count)
{
    TMcuComPort *port = sender ? sender : m_port;
    if (!port)
        return;
    m_buffer.resize(Count);
    const int got = port->ReadBuffer(m_buffer.data(), Count);
    Dispatch(m_buffer.constData(), got);
}

void TMcuComRecv::Dispatch(const char *data, qsizetype size)
{
    const char *p = data;
    const char *end = data + size;
    while (p < end) {
        switch (m_state) {
        case rsText:
            ScanText(p, end);
            break;
        case rsHash:
            if (*p >= '0' && *p <= '3') {
                m_channel = quint8(*p - '0');
                m_number.resize(0); // keeps the buffer for the next sample
                m_state = rsNumber;
            } else {
                m_pending.append('#');
                m_pending.append(*p);
                m_state = rsText;
            }
            ++p;
            break;
        case rsNumber:
            ScanNumber(p, end);
            break;
        }
    }
    if (!m_pending.isEmpty()) {
        DoText();
        m_pending.resize(0);
    }
}

// Text up to the next "#", which is consumed.
void TMcuComRecv::ScanText(const char *&p, const char *end)
{
    const auto *hash = static_cast<const char *>(std::memchr(p, '#', size_t(end - p)));
    if (!hash) {
        m_pending.append(p, end - p);
        p = end;
        return;
    }
    m_pending.append(p, hash - p);
    p = hash + 1;
    m_state = rsHash;
}

namespace {

bool IsNumberByte(char c)
{
    return c == '-' || c == '.' || (c >= '0' && c <= '9');
}

} // namespace

// Number bytes; the first other byte ends the sample and is not consumed.
void TMcuComRecv::ScanNumber(const char *&p, const char *end)
{
    const char *run = p;
    while (run < end && IsNumberByte(*run))
        ++run;
    const qsizetype room = kMaxNumberLength - m_number.size();
    m_number.append(p, std::min<qsizetype>(run - p, std::max<qsizetype>(room, 0)));
    p = run;
    if (p < end) {
        DoValue();
        m_state = rsText;
    }
}

void TMcuComRecv::DoText()
{
    if (OnText)
        OnText(this, m_pending);
}

void TMcuComRecv::DoValue()
{
    if (!OnValue)
        return;
    if (const std::optional<float> value = ParseNumber(m_number))
        OnValue(this, m_channel, *value);
}

std::optional<float> TMcuComRecv::ParseNumber(const QByteArray &text)
{
    if (text.isEmpty() || text == "-")
        return std::nullopt;
    const bool negative = text.startsWith('-');
    long double mantissa = 0;
    long double divisor = 1;
    bool point = false;
    for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '-' || (c == '.' && point))
            return std::nullopt;
        if (c == '.') {
            point = true;
            continue;
        }
        mantissa = mantissa * 10 + (c - '0');
        if (point)
            divisor *= 10;
    }
    const long double value = mantissa / divisor;
    return float(negative ? -value : value);
}
