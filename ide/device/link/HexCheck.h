#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The check of a HEX file before its download: every line a record of
// hexadecimal digit pairs (byte count, address, type, data, checksum) whose
// bytes add up to 0 modulo 256, and the end-of-file record last. Without it a
// file cut short leaves the module in its loader while the download seems to
// succeed, and a line after the end-of-file record waits for an
// acknowledgement the running program never sends.
namespace HexCheck {

// Empty when the records form a complete HEX file, else the reason naming
// the line (counted from 1). Empty lines after the end-of-file record are
// dropped from `records`; they are no part of the program.
QString CheckRecords(QList<QByteArray> &records);

} // namespace HexCheck
