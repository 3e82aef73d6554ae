// The program image: line records (line number high, low, length, body,
// 0x0A) followed by one end record (line number high, low, 0x02, 0x03).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CCode {
public:
    const std::vector<uint8_t> &Bytes() const
    {
        return m_bytes;
    }
    int Size() const
    {
        return static_cast<int>(m_bytes.size());
    }

    void BeginLine(int index); // record of program line `index` (number index + 1)
    // Closing 0x0A and the record's length byte; returns the record length,
    // which does not fit the length byte when it is above 255.
    int EndLine();
    void EmitEnd(int lineCount); // the end record, numbered lineCount + 1
    void EmitByte(int b);
    void EmitText(const std::string &s);
    void EmitToken(int code, int number = -1); // token, then the number in decimal if >= 0
    void EmitVarName(int index); // "a".."z", then "aa", "ab", ...
    void EmitNumber(int n); // decimal below 32768, else "$" and upper-case hex
    void EmitFloat(double x); // "%.7f" without trailing zeros ("2.", "3.1415927")
    void EmitString(const std::string &ansi); // quoted, in the OEM code page

    // Output files (HexFile.cpp, Listing.cpp); false when the file cannot be
    // created or written. A failed write leaves no file behind.
    bool WriteHexFile(const std::string &path) const;
    bool WriteListing(const std::string &path) const;
    // The bytes of the two files as they are written (CR LF line ends; the
    // listing in UTF-8).
    std::string HexFileText() const;
    std::string ListingFileText() const;

    // Listing text of the whole image, lines ending in "\n" (Listing.cpp).
    std::string ListingText() const;

private:
    std::vector<uint8_t> m_bytes;
    int m_lineStart = 0; // index of the length byte of the record being written
};
