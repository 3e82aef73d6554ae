#include "HexRecord.h"

namespace velsim {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The byte written as two hex digits at `pos`, or -1.
int HexByte(std::string_view text, size_t pos)
{
    if (pos + 1 >= text.size())
        return -1;
    const int high = HexDigit(text[pos]);
    const int low = HexDigit(text[pos + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

size_t RecordTextLength(int count)
{
    return 1 + 2 * (static_cast<size_t>(count) + 5);
}

bool TypeFits(int type, size_t count)
{
    switch (type) {
    case kHexData:
    case kHexEndOfFile:
        return true;
    case kHexSegmentAddress:
    case kHexLinearAddress:
        return count == 2;
    case kHexStartSegment:
    case kHexStartLinear:
        return count == 4;
    default:
        return false;
    }
}

} // namespace

bool ParseHexRecord(std::string_view text, HexRecord &record)
{
    if (text.size() < RecordTextLength(0) || text[0] != ':')
        return false;
    const int count = HexByte(text, 1);
    if (count < 0 || text.size() != RecordTextLength(count))
        return false;
    std::vector<uint8_t> bytes;
    bytes.reserve(count + 5);
    for (size_t pos = 1; pos < text.size(); pos += 2) {
        const int b = HexByte(text, pos);
        if (b < 0)
            return false;
        bytes.push_back(static_cast<uint8_t>(b));
    }
    unsigned sum = 0;
    for (uint8_t b : bytes)
        sum += b;
    if ((sum & 0xFF) != 0 || !TypeFits(bytes[3], count))
        return false;
    record.type = bytes[3];
    record.address = static_cast<uint16_t>(bytes[1] << 8 | bytes[2]);
    record.data.assign(bytes.begin() + 4, bytes.end() - 1);
    return true;
}

CHexRecordReader::Result CHexRecordReader::Take(uint8_t byte, HexRecord &record)
{
    if (m_text.empty()) {
        if (byte == ':')
            m_text.assign(1, ':');
        return Result::kNone;
    }
    if (byte == ':') {
        // A record cut short by the start of the next one.
        m_text.assign(1, ':');
        return Result::kMalformed;
    }
    if (HexDigit(static_cast<char>(byte)) < 0) {
        m_text.clear();
        return Result::kMalformed;
    }
    m_text.push_back(static_cast<char>(byte));
    if (m_text.size() < 3 || m_text.size() < RecordTextLength(HexByte(m_text, 1)))
        return Result::kNone;
    const bool wellFormed = ParseHexRecord(m_text, record);
    m_text.clear();
    return wellFormed ? Result::kRecord : Result::kMalformed;
}

void CHexRecordReader::Clear()
{
    m_text.clear();
}

} // namespace velsim
