// The escape notation of macros on any text: decoding never yields more
// bytes than the text has characters, and splitting the decoded macro into
// steps keeps every byte that is not part of a delay, in order, with delays
// of at most five digits.
#include "Escapes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray decoded = DecodeEscapes(text);
    if (decoded.size() > text.size())
        std::abort();
    qsizetype sent = 0;
    for (const TMacroStep &step : SplitMacro(decoded)) {
        if (step.delayMs < 0 || step.delayMs > 99999)
            std::abort();
        sent += step.text.size();
    }
    if (sent > decoded.size())
        std::abort();
    return 0;
}
