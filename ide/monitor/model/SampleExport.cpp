#include "SampleExport.h"

#include "ScopeModel.h"

#include <array>
#include <charconv>

namespace {

void AppendLine(QByteArray &csv, qint64 time, int channel, float value)
{
    std::array<char, 64> buffer{};
    char *end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    csv += QByteArray::number(time);
    csv += ',';
    csv += QByteArray::number(channel);
    csv += ',';
    csv.append(buffer.data(), end - buffer.data());
    csv += '\n';
}

} // namespace

QByteArray SamplesCsv(const TScopeModel &model)
{
    QByteArray csv("time_ms,channel,value\n");
    std::array<int, TScopeModel::kChannelCount> next{}; // next sample of each channel
    for (;;) {
        int pick = -1;
        for (int c = 0; c < TScopeModel::kChannelCount; ++c) {
            const TMcuChannel &channel = model.Channel(c);
            if (!channel.Active() || next[c] >= channel.SampleCount())
                continue;
            if (pick < 0 || channel.Sample(next[c]).time < model.Channel(pick).Sample(next[pick]).time)
                pick = c;
        }
        if (pick < 0)
            return csv;
        const TScopeSample &sample = model.Channel(pick).Sample(next[pick]++);
        AppendLine(csv, sample.time - model.StartTick(), pick, sample.value);
    }
}
