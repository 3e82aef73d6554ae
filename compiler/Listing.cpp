// The listing: one line per line record of the image, token codes shown as
// their texts, string constants turned back from the OEM to the ANSI code
// page. On this platform the listing is written in UTF-8.
#include "Code.h"

#include "CodePage.h"
#include "Keywords.h"
#include "OutputFile.h"

#include <cstdio>

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

std::string CCode::ListingFileText() const
{
    return WithCrLf(AnsiToUtf8(ListingText()));
}

bool CCode::WriteListing(const std::string &path) const
{
    return WriteFileAtomically(path, ListingFileText());
}
