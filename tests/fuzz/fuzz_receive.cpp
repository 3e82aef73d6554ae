// The receive dispatcher on any byte stream, cut into chunks at places the
// input chooses: whatever the cut, the text and the samples that come out
// are the same as for the stream in one piece, every sample names a channel
// 0 to 3, and no text byte is invented.
#include "Receive.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct TSample {
    quint8 channel;
    float value;
    bool operator==(const TSample &o) const
    {
        // Compared bit for bit, so that two NaNs from the same text agree.
        return channel == o.channel && std::memcmp(&value, &o.value, sizeof value) == 0;
    }
};

struct TOutput {
    QByteArray text;
    std::vector<TSample> samples;
};

void Attach(TMcuComRecv &recv, TOutput &out)
{
    recv.OnText = [&out](TMcuComRecv *, const QByteArray &text) { out.text += text; };
    recv.OnValue = [&out](TMcuComRecv *, quint8 channel, float value) {
        if (channel > 3)
            std::abort();
        out.samples.push_back({channel, value});
    };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte sets the chunk length (1 to 256), the rest is the stream.
    const size_t chunk = size_t(data[0]) + 1;
    const char *stream = reinterpret_cast<const char *>(data + 1);
    const size_t length = size - 1;

    TOutput whole;
    TMcuComRecv one;
    Attach(one, whole);
    one.Dispatch(stream, qsizetype(length));

    TOutput pieces;
    TMcuComRecv many;
    Attach(many, pieces);
    for (size_t at = 0; at < length; at += chunk)
        many.Dispatch(stream + at, qsizetype(std::min(chunk, length - at)));

    if (whole.text.size() > qsizetype(length) || whole.text != pieces.text || !(whole.samples == pieces.samples))
        std::abort();
    return 0;
}
