// Intel HEX records as the module's loader receives them: one record per
// write, without a line end, recognised from its own content (the length
// field says how many digits follow, the checksum closes it).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velsim {

enum HexRecordType : uint8_t {
    kHexData = 0,
    kHexEndOfFile = 1,
    kHexSegmentAddress = 2,
    kHexStartSegment = 3,
    kHexLinearAddress = 4,
    kHexStartLinear = 5,
};

struct HexRecord {
    uint8_t type = kHexData;
    uint16_t address = 0;
    std::vector<uint8_t> data;
};

// Parses the text of one record, ":" included and without a line end. False
// for a malformed record (a character that is not a hex digit, a length that
// does not match the length field, an unknown type, a wrong checksum).
bool ParseHexRecord(std::string_view text, HexRecord &record);

// Cuts a received byte stream into records. Bytes between records (line
// ends, blanks, noise) are skipped; a record ends when as many digits have
// arrived as its length field announces.
class CHexRecordReader {
public:
    enum class Result { kNone, kRecord, kMalformed };

    // Takes one byte. kRecord when it completed a well-formed record (then in
    // `record`); kMalformed when the record being received cannot be one (a
    // foreign byte inside it, a wrong checksum); kNone otherwise.
    Result Take(uint8_t byte, HexRecord &record);
    void Clear();

    // The longest record text: ":", 255 data bytes and the 5 bytes of count,
    // address, type and checksum, as hex digits.
    static constexpr size_t kMaxRecordText = 1 + 2 * (255 + 5);

private:
    std::string m_text; // ":" and the digits received so far; empty between records
};

} // namespace velsim
