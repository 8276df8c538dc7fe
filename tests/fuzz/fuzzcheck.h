#pragma once

#include <cstdio>
#include <cstdlib>

// A property that failed is a finding: libFuzzer keeps the input that broke it.
inline void FuzzRequire(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}
