#include "ScopeTimeBase.h"

const TScopeTimeBase kScopeTimeBases[] = {
    {"1 ms / div", 1},        {"2 ms / div", 2},         {"5 ms / div", 5},      {"10 ms / div", 10},
    {"20 ms / div", 20},      {"50 ms / div", 50},       {"100 ms / div", 100},  {"200 ms / div", 200},
    {"500 ms / div", 500},    {"1 s / div", 1000},       {"2 s / div", 2000},    {"5 s / div", 5000},
    {"10 s / div", 10000},    {"30 s / div", 30000},     {"1 min / div", 60000}, {"5 min / div", 300000},
    {"10 min / div", 600000}, {"30 min / div", 1800000}, {"1 h / div", 3600000},
};
const std::size_t kScopeTimeBaseCount = sizeof kScopeTimeBases / sizeof kScopeTimeBases[0];
