#pragma once

#include <cstdio>
#include <span>
#include <sstream>
#include <string>

// A small runner for the Windows test programs, which have no QtTest: each test is a
// function, CHECK_EQ records a mismatch with its place and goes on, and the program's exit
// status is the number of tests that failed.
namespace harness {

struct Test
{
    const char *name;
    void (*run)();
};

inline int failedChecks = 0;
inline std::string context; // the data row being checked, for the message

template<typename Value>
std::string show(const Value &value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

template<typename Actual, typename Expected>
bool checkEqual(const Actual &actual, const Expected &expected, const char *what, const char *file,
                int line)
{
    if (actual == expected)
        return true;
    ++failedChecks;
    std::printf("FAIL %s:%d %s%s%s\n   actual:   %s\n   expected: %s\n", file, line,
                context.c_str(), context.empty() ? "" : ": ", what, show(actual).c_str(),
                show(expected).c_str());
    return false;
}

inline int runAll(std::span<const Test> tests)
{
    int failedTests = 0;
    for (const Test &test : tests) {
        const int before = failedChecks;
        context.clear();
        test.run();
        const bool passed = failedChecks == before;
        failedTests += !passed;
        std::printf("%s %s\n", passed ? "PASS" : "FAIL", test.name);
    }
    std::printf("%d of %zu tests failed\n", failedTests, tests.size());
    return failedTests;
}

} // namespace harness

#define CHECK_EQ(actual, expected)                                                                 \
    harness::checkEqual((actual), (expected), #actual " == " #expected, __FILE__, __LINE__)
#define CHECK(condition) CHECK_EQ(bool(condition), true)
