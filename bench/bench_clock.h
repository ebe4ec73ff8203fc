#pragma once
// The benchmark's clock and its summaries: the performance counter in milliseconds,
// medians of repeated runs, and owners for the handles a run opens.
#include <windows.h>
#include <algorithm>
#include <vector>

#include "platform/file_handle.h"

inline double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

// The median of `values`, or 0 when there are none.
inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline constexpr double kBytesPerMb = 1024.0 * 1024.0;
