#include "HexFile.h"

#include "Code.h"
#include "OutputFile.h"

#include <string_view>

void CIntelHexFile::AppendHex(int value, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        m_text += kDigits[(value >> shift) & 0xF];
}

// The checksum makes all bytes of the record add up to 0 modulo 256.
void CIntelHexFile::WriteDataRecord(int address, const uint8_t *bytes, int count)
{
    address &= 0xFFFF;
    int sum = count + (address >> 8) + (address & 0xFF);
    m_text += ':';
    AppendHex(count, 2);
    AppendHex(address, 4);
    m_text += "00";
    for (int i = 0; i < count; ++i) {
        AppendHex(bytes[i], 2);
        sum += bytes[i];
    }
    AppendHex(-sum & 0xFF, 2);
    m_text += '\n';
}

void CIntelHexFile::WriteEndRecord()
{
    m_text += ":00000001FF\n";
}

// The file's bytes written straight into one buffer of the exact size:
// 45 characters per full record (CR LF included), 13 for the end record.
std::string CCode::HexFileText() const
{
    static const char kDigits[] = "0123456789ABCDEF";
    const uint8_t *bytes = m_bytes.data(); // not reread after every character written
    const size_t size = m_bytes.size();
    std::string text(((size + 15) / 16) * 45 + 13, '\0');
    char *out = text.data();
    auto put = [&out](unsigned value) {
        *out++ = kDigits[(value >> 4) & 0xF];
        *out++ = kDigits[value & 0xF];
    };
    for (size_t address = 0; address < size; address += 16) {
        const unsigned count = static_cast<unsigned>(size - address < 16 ? size - address : 16);
        const unsigned load = static_cast<unsigned>(address) & 0xFFFF;
        unsigned sum = count + (load >> 8) + (load & 0xFF);
        *out++ = ':';
        put(count);
        put(load >> 8);
        put(load & 0xFF);
        *out++ = '0';
        *out++ = '0';
        for (unsigned i = 0; i < count; ++i) {
            const unsigned b = bytes[address + i];
            put(b);
            sum += b;
        }
        put(-sum & 0xFF);
        *out++ = '\r';
        *out++ = '\n';
    }
    static const char kEndRecord[] = ":00000001FF\r\n";
    for (const char c : std::string_view(kEndRecord))
        *out++ = c;
    text.resize(static_cast<size_t>(out - text.data()));
    return text;
}

bool CCode::WriteHexFile(const std::string &path) const
{
    return WriteFileAtomically(path, HexFileText());
}
