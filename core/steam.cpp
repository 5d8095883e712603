#include "core/steam.h"

#include "runtime/failure.h"

#include <cmath>

namespace tovrik {

namespace {

// Region 4, table 34.
constexpr double n[] = {0.0, // so that n[1]..n[10] read as in the release
                        0.11670521452767e4,
                        -0.72421316703206e6,
                        -0.17073846940092e2,
                        0.12020824702470e5,
                        -0.32325550322333e7,
                        0.14915108613530e2,
                        -0.48232657361591e4,
                        0.40511340542057e6,
                        -0.23855557567849,
                        0.65017534844798e3};

constexpr double specificGasConstant = 0.461526; // kJ/(kg K)

// Region 2, residual part, table 11: exponents I and J and coefficient n.
struct Term
{
    int i;
    int j;
    double n;
};

constexpr Term residual[] = {
    {1, 0, -0.17731742473213e-2},   {1, 1, -0.17834862292358e-1},
    {1, 2, -0.45996013696365e-1},   {1, 3, -0.57581259083432e-1},
    {1, 6, -0.50325278727930e-1},   {2, 1, -0.33032641670203e-4},
    {2, 2, -0.18948987516315e-3},   {2, 4, -0.39392777243355e-2},
    {2, 7, -0.43797295650573e-1},   {2, 36, -0.26674547914087e-4},
    {3, 0, 0.20481737692309e-7},    {3, 1, 0.43870667284435e-6},
    {3, 3, -0.32277677238570e-4},   {3, 6, -0.15033924542148e-2},
    {3, 35, -0.40668253562649e-1},  {4, 1, -0.78847309559367e-9},
    {4, 2, 0.12790717852285e-7},    {4, 3, 0.48225372718507e-6},
    {5, 7, 0.22922076337661e-5},    {6, 3, -0.16714766451061e-10},
    {6, 16, -0.21171472321355e-2},  {6, 35, -0.23895741934104e2},
    {7, 0, -0.59059564324270e-17},  {7, 11, -0.12621808899101e-5},
    {7, 25, -0.38946842435739e-1},  {8, 8, 0.11256211360459e-10},
    {8, 36, -0.82311340897998e1},   {9, 13, 0.19809712802088e-7},
    {10, 4, 0.10406965210174e-18},  {10, 10, -0.10234747095929e-12},
    {10, 14, -0.10018179379511e-8}, {16, 29, -0.80882908646985e-10},
    {16, 50, 0.10693031879409},     {18, 57, -0.33662250574171},
    {20, 20, 0.89185845355421e-24}, {20, 35, 0.30629316876232e-12},
    {20, 48, -0.42002467698208e-5}, {21, 21, -0.59056029685639e-25},
    {22, 53, 0.37826947613457e-5},  {23, 39, -0.12768608934681e-14},
    {24, 26, 0.73087610595061e-28}, {24, 40, 0.55414715350778e-16},
    {24, 58, -0.94369707241210e-6},
};

} // namespace

double saturationTemperature(double pressure)
{
    const double beta = std::pow(pressure, 0.25);
    const double e = beta * beta + n[3] * beta + n[6];
    const double f = n[1] * beta * beta + n[4] * beta + n[7];
    const double g = n[2] * beta * beta + n[5] * beta + n[8];
    const double d = 2.0 * g / (-f - std::sqrt(f * f - 4.0 * e * g));
    return (n[10] + d - std::sqrt((n[10] + d) * (n[10] + d) - 4.0 * (n[9] + n[10] * d))) / 2.0;
}

double region2SpecificVolume(double pressure, double temperature)
{
    const double pi = pressure; // reduced by 1 MPa
    const double tau = 540.0 / temperature;
    // d(gamma_r)/d(pi); the ideal-gas part contributes 1/pi.
    double residualPi = 0.0;
    for (const Term &term : residual)
        residualPi += term.n * term.i * std::pow(pi, term.i - 1) * std::pow(tau - 0.5, term.j);
    // v = R T / p * pi * (gamma0_pi + gammar_pi), with p in kPa for m3/kg.
    return specificGasConstant * temperature / (pressure * 1000.0) * pi * (1.0 / pi + residualPi);
}

double saturatedSteamVolume(double pressure, PressureKind kind)
{
    if (!std::isfinite(pressure))
        throw Failure(Fault::NotANumber, Operand::Pressure);
    const double absolute = kind == PressureKind::Gauge ? pressure + atmosphericPressure : pressure;
    if (absolute < lowestSteamPressure || absolute > highestSteamPressure)
        throw Failure(Fault::OutOfRange, Operand::Pressure);
    return region2SpecificVolume(absolute, saturationTemperature(absolute));
}

} // namespace tovrik
