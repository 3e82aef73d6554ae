#include "HexFile.h"

#include "Code.h"
#include "OutputFile.h"

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

std::string CCode::HexFileText() const
{
    CIntelHexFile hex;
    const int size = Size();
    for (int address = 0; address < size; address += 16) {
        const int count = size - address < 16 ? size - address : 16;
        hex.WriteDataRecord(address, m_bytes.data() + address, count);
    }
    hex.WriteEndRecord();
    return WithCrLf(hex.Text());
}

bool CCode::WriteHexFile(const std::string &path) const
{
    return WriteFileAtomically(path, HexFileText());
}
