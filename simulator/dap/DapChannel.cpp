#include "DapChannel.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include <unistd.h>

namespace velsim {

namespace {

constexpr char kLengthField[] = "content-length:";
constexpr size_t kMaxMessage = 16 << 20;

// The body length of a header block, -1 without a valid Content-Length.
long LengthOf(const std::string &header)
{
    std::string lower;
    for (char c : header)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t at = lower.find(kLengthField);
    if (at == std::string::npos)
        return -1;
    char *end = nullptr;
    const long length = std::strtol(header.c_str() + at + sizeof kLengthField - 1, &end, 10);
    return length >= 0 && static_cast<size_t>(length) <= kMaxMessage ? length : -1;
}

} // namespace

bool CDapChannel::Fill()
{
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(m_input, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        m_buffer.append(chunk, static_cast<size_t>(n));
        return true;
    }
}

bool CDapChannel::Read(nlohmann::json &message)
{
    size_t headerEnd;
    while ((headerEnd = m_buffer.find("\r\n\r\n")) == std::string::npos) {
        if (m_buffer.size() > 4096 || !Fill())
            return false;
    }
    const long length = LengthOf(m_buffer.substr(0, headerEnd));
    if (length < 0)
        return false;
    const size_t bodyStart = headerEnd + 4;
    while (m_buffer.size() < bodyStart + static_cast<size_t>(length)) {
        if (!Fill())
            return false;
    }
    message = nlohmann::json::parse(m_buffer.substr(bodyStart, static_cast<size_t>(length)), nullptr, false);
    m_buffer.erase(0, bodyStart + static_cast<size_t>(length));
    return !message.is_discarded() && message.is_object();
}

void CDapChannel::Send(nlohmann::json message)
{
    std::lock_guard lock(m_sendMutex);
    message["seq"] = m_seq++;
    const std::string body = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    const std::string frame = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    size_t done = 0;
    while (done < frame.size()) {
        const ssize_t n = ::write(m_output, frame.data() + done, frame.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // the client is gone; the read side will end the session
        done += static_cast<size_t>(n);
    }
}

void CDapChannel::Respond(const nlohmann::json &request, nlohmann::json body)
{
    Send({{"type", "response"},
          {"request_seq", request.value("seq", 0)},
          {"success", true},
          {"command", request.value("command", "")},
          {"body", std::move(body)}});
}

void CDapChannel::Fail(const nlohmann::json &request, const std::string &message)
{
    Send({{"type", "response"},
          {"request_seq", request.value("seq", 0)},
          {"success", false},
          {"command", request.value("command", "")},
          {"message", message},
          {"body", {{"error", {{"id", 1}, {"format", message}}}}}});
}

void CDapChannel::Event(const std::string &event, nlohmann::json body)
{
    Send({{"type", "event"}, {"event", event}, {"body", std::move(body)}});
}

} // namespace velsim
