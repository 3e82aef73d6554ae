// The listing: one line per line record of the image, token codes shown as
// their texts, string constants turned back from the OEM to the ANSI code
// page. On this platform the listing is written in UTF-8.
#include "Code.h"

#include "LanguageNames.h"
#include "OutputFile.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// The body of the record at `offset` as listing text, up to and including
// its closing 0x0A. Returns the offset after the record.
size_t ListBody(const std::vector<uint8_t> &image, size_t offset, std::string &line)
{
    bool inString = false;
    for (size_t i = offset + 3; i < image.size(); ++i) {
        const uint8_t b = image[i];
        if (b >= 0x80 && !inString) {
            line += TokenText(b);
        } else {
            if (b == '"')
                inString = !inString;
            line += static_cast<char>(b);
        }
        if (b == 0x0A)
            return i + 1;
    }
    line += '\n'; // a record cut short by the end of the image
    return image.size();
}

} // namespace

std::string CCode::ListingText() const
{
    std::string text = "Listfile produced by Velmo-Compiler V2.4\n\n"
                       "Line  Addr  Code\n"
                       "----------------\n";
    size_t offset = 0;
    while (offset + 3 < m_bytes.size() && m_bytes[offset + 3] != 0x03) {
        char head[32];
        std::snprintf(head, sizeof head, "%4d  %04X  ", (m_bytes[offset] << 8) | m_bytes[offset + 1],
                      static_cast<unsigned>(offset));
        std::string line = head;
        offset = ListBody(m_bytes, offset, line);
        text += OemToAnsi(line);
    }
    text += "\nCode size: " + std::to_string(Size()) + " bytes.\n";
    return text;
}

namespace {

// What the listing file shows for one image byte: outside string constants
// a token code's text, otherwise the byte from the OEM code page in UTF-8,
// and CR LF for the record's 0x0A. The text has a fixed room, so that it is
// copied in one piece.
struct ListedByte {
    char text[16];
    unsigned char size;
};
static_assert(kLongestTokenText <= sizeof(ListedByte::text));
using ListedBytes = std::array<ListedByte, 256>;

ListedByte Listed(std::string_view text)
{
    ListedByte entry{};
    entry.size = static_cast<unsigned char>(text.copy(entry.text, sizeof entry.text));
    return entry;
}

ListedBytes BuildListedBytes()
{
    ListedBytes table{};
    for (int b = 0; b < 256; ++b)
        table[static_cast<size_t>(b)] =
            Listed(b == '\n' ? "\r\n" : AnsiToUtf8(OemToAnsi(std::string(1, static_cast<char>(b)))));
    return table;
}

ListedBytes BuildListedTokens()
{
    ListedBytes table{};
    for (int b = 0x80; b < 256; ++b)
        table[static_cast<size_t>(b)] = Listed(TokenText(b));
    return table;
}

// "%4d" and "%04X" of the line head, without a formatting call.
char *PutNumber(char *out, unsigned value, unsigned base, int width, char fill)
{
    static const char kDigits[] = "0123456789ABCDEF";
    char digits[16];
    int n = 0;
    do {
        digits[n++] = kDigits[value % base];
        value /= base;
    } while (value);
    for (int i = n; i < width; ++i)
        *out++ = fill;
    while (n)
        *out++ = digits[--n];
    return out;
}

char *Put(char *out, std::string_view text)
{
    for (const char c : text)
        *out++ = c;
    return out;
}

// Room for one listed record: its head, and up to 255 bytes shown as token
// texts (a longer body is passed on in parts).
constexpr size_t kRecordRoom = 32 + 255 * kLongestTokenText;

} // namespace

// The file's bytes in one pass over the image, with the same text as
// ListingText() turned into UTF-8 with CR LF line ends.
std::string CCode::ListingFileText() const
{
    static const ListedBytes kListed = BuildListedBytes();
    static const ListedBytes kTokens = BuildListedTokens();
    std::string text = "Listfile produced by Velmo-Compiler V2.4\r\n\r\n"
                       "Line  Addr  Code\r\n"
                       "----------------\r\n";
    text.reserve(m_bytes.size() * 2 + 256);
    char line[kRecordRoom];
    size_t offset = 0;
    const uint8_t *bytes = m_bytes.data(); // not reread after every byte written to `line`
    const size_t size = m_bytes.size();
    while (offset + 3 < size && bytes[offset + 3] != 0x03) {
        char *out = PutNumber(line, (bytes[offset] << 8) | bytes[offset + 1], 10, 4, ' ');
        out = Put(out, "  ");
        out = PutNumber(out, static_cast<unsigned>(offset), 16, 4, '0');
        out = Put(out, "  ");
        bool inString = false;
        size_t i = offset + 3;
        for (; i < size; ++i) {
            if (out > line + sizeof line - sizeof(ListedByte::text)) { // a body longer than a record should be
                text.append(line, static_cast<size_t>(out - line));
                out = line;
            }
            const uint8_t b = bytes[i];
            const bool token = b >= 0x80 && !inString;
            const ListedByte &listed = token ? kTokens[b] : kListed[b];
            std::memcpy(out, listed.text, sizeof listed.text);
            out += listed.size;
            if (token)
                continue;
            inString ^= b == '"';
            if (b == 0x0A)
                break;
        }
        text.append(line, static_cast<size_t>(out - line));
        if (i >= size) // a record cut short by the end of the image
            text += "\r\n";
        offset = i + 1;
    }
    text += "\r\nCode size: " + std::to_string(Size()) + " bytes.\r\n";
    return text;
}

bool CCode::WriteListing(const std::string &path) const
{
    return WriteFileAtomically(path, ListingFileText());
}
