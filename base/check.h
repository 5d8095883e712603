#pragma once

#include <cstdio>
#include <cstdlib>

// A fast path's precondition, checked where a broken one must stop the program at once: in
// debug builds and under the sanitizers (TOVRIK_ASSERTIONS), as fmt's FMT_ASSERT is. Elsewhere
// the condition is not evaluated, so it may cost what it likes.
namespace tovrik {

[[noreturn]] inline void assertionFailed(const char *file, int line, const char *what)
{
    std::fprintf(stderr, "%s:%d: precondition broken: %s\n", file, line, what);
    std::abort();
}

} // namespace tovrik

#if !defined(NDEBUG) || defined(TOVRIK_ASSERTIONS)
#define TOVRIK_ASSERT(condition, what)                                                             \
    ((condition) ? void(0) : ::tovrik::assertionFailed(__FILE__, __LINE__, (what)))
#else
#define TOVRIK_ASSERT(condition, what) void(sizeof(!(condition)))
#endif
