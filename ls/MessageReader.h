// The framing of the server's messages: each is a header block of
// "Name: value" lines ending in an empty line, with Content-Length giving
// the byte count of the JSON body that follows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmo::ls {

// A body longer than this is skipped unread, with an error for its sender.
constexpr size_t kMaxMessageBytes = size_t(64) << 20;
// A header block longer than this is garbage: it is dropped.
constexpr size_t kMaxHeaderBytes = 4096;

// Cuts a byte stream into message bodies. Feed it what was read, then take
// the complete messages out with Next until it returns kNone.
class CMessageReader {
public:
    enum Result { kNone, kMessage, kBadHeader, kTooLarge };

    void Feed(std::string_view bytes);
    // kMessage: `body` holds the next body. kBadHeader / kTooLarge: a header
    // block without a usable length, or a body above the limit, was dropped.
    Result Next(std::string &body);

private:
    Result ReadHeader();
    std::string m_buffer;
    size_t m_bodyLength = 0;
    bool m_inBody = false;
    size_t m_skip = 0; // bytes of a refused body still to drop
};

// One message with its header, as written to the client.
std::string FrameMessage(std::string_view body);

} // namespace velmo::ls
