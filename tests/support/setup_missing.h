// A case that needs a set-up the test run provides (a fixture started by
// ctest, named by environment variables). Run by hand without it, the case
// is skipped; in a whole run (QUELTA_WHOLE_SUITE, set by scripts/test.sh),
// where every set-up is there, its absence is a failure.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#define QUELTA_SKIP_WITHOUT_SETUP(why)                     \
  do {                                                     \
    const char* whole = std::getenv("QUELTA_WHOLE_SUITE"); \
    if (whole && *whole) FAIL() << "no set-up: " << why;   \
    GTEST_SKIP() << why;                                   \
  } while (false)
