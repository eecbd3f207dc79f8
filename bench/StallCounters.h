// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include "StallMeter.h"

#include <benchmark/benchmark.h>

#include <algorithm>

// The window thread's stalls over a benchmark's iterations, as its counters: the longest stall
// of all (stall_ms), and, when given, the file system's requests per iteration.
class StallCounters {
public:
    void add(const StallMeter::Result& result) {
        m_longestMs = std::max(m_longestMs, result.longestMs());
        m_unfinished += result.finished ? 0 : 1;
    }
    void addRequests(long requests) { m_requests += requests; }

    void report(benchmark::State& state) const {
        state.counters["stall_ms"] = m_longestMs;
        if (m_requests > 0)
            state.counters["requests"] =
                benchmark::Counter(double(m_requests), benchmark::Counter::kAvgIterations);
        if (m_unfinished > 0)
            state.counters["unfinished"] = m_unfinished;
    }

private:
    double m_longestMs = 0;
    long m_requests = 0;
    int m_unfinished = 0;
};
