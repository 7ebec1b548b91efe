#pragma once
// A property a fuzz target checks: on failure, the input is a crash.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                      \
    do {                                                                           \
        if (!(condition)) {                                                        \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                          \
        }                                                                          \
    } while (0)
