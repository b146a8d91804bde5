// The benchmarks' clock: seconds from the performance counter.
#ifndef TANDREL_TESTS_BENCH_BENCH_CLOCK_H
#define TANDREL_TESTS_BENCH_BENCH_CLOCK_H

#include <windows.h>

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

#endif
