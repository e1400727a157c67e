// What the Windows-side timings share: a wall clock in seconds, the median
// of repeated rounds, rounds of a pair that take turns going first, and the
// line of a pair that gives no figure.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

inline double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F>
double Seconds(F work) {
    const double t = Now();
    work();
    return Now() - t;
}

// One round of a measurement and its baseline: the measurement first in
// even rounds, the baseline first in odd ones, so that neither gains from a
// cache the other warmed.
template <class A, class B>
void Alternate(int round, A measurement, B baseline) {
    if (round % 2 == 0) {
        measurement();
        baseline();
    } else {
        baseline();
        measurement();
    }
}

// A pair that did not do the same work, or a measurement that is missing,
// fails the run.
inline int Fail(const std::string& what) {
    std::printf("%s; no figure\n", what.c_str());
    std::fflush(stdout);
    return 1;
}
