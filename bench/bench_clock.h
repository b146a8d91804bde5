// The benchmarks' clock (seconds from the performance counter) and memory
// gauge (the working set, now or at its peak; programs link psapi).
#ifndef TANDREL_TESTS_BENCH_BENCH_CLOCK_H
#define TANDREL_TESTS_BENCH_BENCH_CLOCK_H

#include <windows.h>

#include <psapi.h>

inline double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline SIZE_T WorkingSet(bool peak) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        return 0;
    }
    return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

#endif
