// The module's loader: after a reset it receives the program image as HEX
// records, acknowledges each with "." and, at the end-of-file record, hands
// over the assembled image.
#pragma once

#include "HexRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velsim {

class CLoader {
public:
    // `capacity`: the most image bytes the module can hold.
    explicit CLoader(size_t capacity);

    enum class Event {
        kNone, // nothing complete yet
        kAcknowledge, // a well-formed record other than end-of-file: answer "."
        kReject, // a malformed record: no answer
        kComplete, // the end-of-file record: Image() or ImageError() tells the result
        kRefuse, // a data record beyond the module's memory: ImageError() says so;
                 // no answer, and the rest of this download gets none either
    };

    // Forgets everything received: a new download begins.
    void Start();
    // Takes one received byte; the first byte after kComplete begins a new
    // download.
    Event Take(uint8_t byte);

    // After kComplete: the image from address 0 to its last byte, or, when the
    // records did not form one, why (ImageError() not empty).
    const std::vector<uint8_t> &Image() const
    {
        return m_image;
    }
    const std::string &ImageError() const
    {
        return m_error;
    }

private:
    // False, storing nothing, when the record reaches beyond the memory.
    bool Store(const HexRecord &record);
    void Finish();

    size_t m_capacity;
    CHexRecordReader m_reader;
    HexRecord m_record;
    std::vector<uint8_t> m_image;
    std::vector<bool> m_filled; // which addresses have received data
    size_t m_end = 0; // one past the highest address received
    uint32_t m_base = 0; // from the extended address records
    bool m_refused = false; // a record went beyond the memory: the download is refused
    bool m_finished = false; // kComplete was reported
    std::string m_error;
};

} // namespace velsim
