#pragma once

// Sizings whose result text is known, shared by the window's tests and the command-line
// sizer's, so both are held to the same texts. A null input is one the medium does not take.
struct SizingVector
{
    const char *name;
    const char *medium;
    const char *flow;
    const char *pressure;
    const char *temperature;
    const char *specificVolume;
    const char *velocity;
    const char *expected;
};

inline constexpr SizingVector sizingVectors[] = {
    {"air worked example", "air", "600", "0.7", "20", nullptr, "10", "57.0212772537991"},
    {"air at standard state", "air", "1000", "0.1", "0", nullptr, "10", "188"},
    {"air, exponent-form result", "air", "1e-20", "0.1", "0", nullptr, "1", "1.88E-09"},
    {"steam worked example", "steam", "10", nullptr, nullptr, "0.3747", "30", "210.106296907066"},
    {"water worked example", "water", "100", nullptr, nullptr, nullptr, "2", "132.936074863071"},
    {"water, last bit hidden", "water", "36", nullptr, nullptr, nullptr, "1", "112.8"},
    {"water, zero flow", "water", "0", nullptr, nullptr, nullptr, "1", "0"},
    {"water, two negatives", "water", "-4", nullptr, nullptr, nullptr, "-1", "37.6"},
    {"water, full-width digits", "water", "１００", nullptr, nullptr, nullptr, "２",
     "132.936074863071"},
};
