#pragma once

#include <QtGlobal>

#include <cstddef>

// The scope's time bases as the time-base box offers them, shortest first.
struct TScopeTimeBase {
    const char *caption;
    qint64 msPerDiv;
};

extern const TScopeTimeBase kScopeTimeBases[];
extern const std::size_t kScopeTimeBaseCount;
// "1 s / div", selected at start.
constexpr int kDefaultScopeTimeBase = 9;
