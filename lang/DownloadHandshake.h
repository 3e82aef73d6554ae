// The download handshake between the workbench and the module's loader, as
// both sides of the serial line know it: the reset command makes a running
// module enter its loader, which answers "OK" and then acknowledges every
// HEX record but the last with ".".
#pragma once

namespace velmo::lang {

inline constexpr char kResetCommand[] = "\x01\x30\x81\x1B";
inline constexpr char kResetReply[] = "OK";
inline constexpr char kRecordAck = '.';

} // namespace velmo::lang
