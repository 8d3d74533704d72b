#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise of the code under test: stop the run so the fuzzer
// keeps the input that shows it.
#define FUZZ_CHECK(condition)                                                                 \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)
