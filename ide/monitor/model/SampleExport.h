#pragma once

#include <QByteArray>

class TScopeModel;

// The stored samples of the active channels as CSV text: the header line
// "time_ms,channel,value", then one line per sample in order of time (by
// channel number at equal times), the time in milliseconds since the last
// clear, the value in its shortest exact form with "." as decimal point.
// Lines end with "\n".
QByteArray SamplesCsv(const TScopeModel &model);
