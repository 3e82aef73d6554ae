// Intel HEX output: type-00 data records of up to 16 bytes at 16-bit load
// addresses, then the end-of-file record. No other record types.
#pragma once

#include <cstdint>
#include <string>

class CIntelHexFile {
public:
    // One data record ":LLAAAA00DD..CC" with its line end.
    void WriteDataRecord(int address, const uint8_t *bytes, int count);
    // ":00000001FF" with its line end.
    void WriteEndRecord();

    // The records written so far, lines ending in "\n".
    const std::string &Text() const
    {
        return m_text;
    }

private:
    void AppendHex(int value, int digits);
    std::string m_text;
};
