#include "core/steam.h"

#include "core/failure.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tovrik {

namespace {

constexpr double specificGasConstant = 0.461526; // kJ/(kg K)

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

struct Term
{
    int i;
    int j;
    double n;
};

// Region 1, table 2: exponents I and J and coefficient n.
constexpr Term region1[] = {
    {0, -2, 0.14632971213167},        {0, -1, -0.84548187169114},
    {0, 0, -0.37563603672040e1},      {0, 1, 0.33855169168385e1},
    {0, 2, -0.95791963387872},        {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},     {0, 5, 0.81214629983568e-3},
    {1, -9, 0.28319080123804e-3},     {1, -7, -0.60706301565874e-3},
    {1, -1, -0.18990068218419e-1},    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},     {1, 3, -0.52838357969930e-4},
    {2, -3, -0.47184321073267e-3},    {2, 0, -0.30001780793026e-3},
    {2, 1, 0.47661393906987e-4},      {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},   {3, -4, -0.31679644845054e-4},
    {3, 0, -0.28270797985312e-5},     {3, 6, -0.85205128120103e-9},
    {4, -5, -0.22425281908000e-5},    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},   {5, -8, -0.40516996860117e-6},
    {8, -11, -0.12734301741641e-8},   {8, -6, -0.17424871230634e-9},
    {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},  {30, -39, -0.11947622640071e-22},
    {31, -40, 0.18228094581404e-23},  {32, -41, -0.93537087292458e-25},
};

// Region 2, residual part, table 11.
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

// Powers x^k for k from `lowest` to `highest`, made by multiplication: the formulations' long
// sums would otherwise call pow twice a term, and the batch evaluates them once a row.
template<int lowest, int highest>
class Powers
{
public:
    explicit Powers(double x)
    {
        double up = 1.0;
        for (int k = 0; k <= highest; ++k, up *= x)
            m_values[std::size_t(k - lowest)] = up;
        double down = 1.0;
        for (int k = 0; k >= lowest; --k, down /= x)
            m_values[std::size_t(k - lowest)] = down;
    }
    double operator[](int k) const { return m_values[std::size_t(k - lowest)]; }

private:
    std::array<double, std::size_t(highest - lowest + 1)> m_values {};
};

constexpr double triplePointTemperature = 273.15 + 0.01; // K, where IF97 begins
constexpr double criticalPressure = 22.064; // MPa
constexpr double region2Top = 1073.15; // K
constexpr double region2Highest = 100.0; // MPa
constexpr double boundary23Start = 623.15; // K

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

double saturationPressure(double temperature)
{
    const double theta = temperature + n[9] / (temperature - n[10]);
    const double a = theta * theta + n[1] * theta + n[2];
    const double b = n[3] * theta * theta + n[4] * theta + n[5];
    const double c = n[6] * theta * theta + n[7] * theta + n[8];
    const double x = 2.0 * c / (-b + std::sqrt(b * b - 4.0 * a * c));
    return x * x * x * x;
}

// The B23 equation, section 4 of the release: n1 to n5.
constexpr double b23[] = {0.0,
                          0.34805185628969e3,
                          -0.11671859879975e1,
                          0.10192970039326e-2,
                          0.57254459862746e3,
                          0.13918839778870e2};

double boundary23Pressure(double temperature)
{
    return b23[1] + b23[2] * temperature + b23[3] * temperature * temperature;
}

double boundary23Temperature(double pressure)
{
    return b23[4] + std::sqrt((pressure - b23[5]) / b23[3]);
}

double region1SpecificVolume(double pressure, double temperature)
{
    const double pi = pressure / 16.53;
    const double tau = 1386.0 / temperature;
    const Powers<-1, 31> a(7.1 - pi);
    const Powers<-41, 17> b(tau - 1.222);
    double gammaPi = 0.0;
    for (const Term &term : region1)
        gammaPi -= term.n * term.i * a[term.i - 1] * b[term.j];
    // v = R T / p * pi * gamma_pi, with p in kPa for m3/kg.
    return specificGasConstant * temperature / (pressure * 1000.0) * pi * gammaPi;
}

double region2SpecificVolume(double pressure, double temperature)
{
    const double pi = pressure; // reduced by 1 MPa
    const Powers<0, 23> a(pi);
    const Powers<0, 58> b(540.0 / temperature - 0.5);
    // d(gamma_r)/d(pi); the ideal-gas part contributes 1/pi.
    double residualPi = 0.0;
    for (const Term &term : residual)
        residualPi += term.n * term.i * a[term.i - 1] * b[term.j];
    return specificGasConstant * temperature / (pressure * 1000.0) * pi * (1.0 / pi + residualPi);
}

double saturatedSteamVolume(double pressure, PressureKind kind)
{
    if (!std::isfinite(pressure))
        throw SizingFailure(Problem::NotANumber, Operand::Pressure);
    const double absolute = absolutePressure(pressure, kind);
    if (absolute < lowestSteamPressure || absolute > highestSteamPressure)
        throw SizingFailure(Problem::OutOfRange, Operand::Pressure);
    return region2SpecificVolume(absolute, saturationTemperature(absolute));
}

double lowestSuperheatedTemperature(double pressure)
{
    // Up to the saturation pressure at 623.15 K region 2 borders the saturation line; above it,
    // region 3, which lies below the B23 line.
    if (pressure <= saturationPressure(boundary23Start))
        return saturationTemperature(pressure);
    return boundary23Temperature(pressure);
}

namespace {

// The checks and the volume of superheatedSteamVolume, at an absolute pressure.
double superheatedVolumeAt(double absolute, double temperature)
{
    const double kelvin = temperature + kelvinOffset;
    if (!(absolute > 0.0))
        throw SizingFailure(Problem::NotPositive, Operand::Pressure);
    if (absolute > region2Highest)
        throw SizingFailure(Problem::OutOfRange, Operand::Pressure);
    if (kelvin > region2Top)
        throw SizingFailure(Problem::OutOfRange, Operand::Temperature);
    // Below the critical pressure a vapour colder than saturation is no vapour; above 16.53 MPa
    // the states between saturation (or the critical point) and the B23 line are region 3, and
    // colder ones compressed liquid, which region 2's formula would turn into nonsense.
    if (absolute <= criticalPressure) {
        const double saturation = saturationTemperature(absolute);
        if (kelvin <= saturation)
            throw SizingFailure(Problem::NotSuperheated, Operand::Temperature,
                                saturation - kelvinOffset);
    }
    const double lowest = lowestSuperheatedTemperature(absolute);
    if (absolute > saturationPressure(boundary23Start) && kelvin < lowest)
        throw SizingFailure(Problem::BelowRegion2, Operand::Temperature, lowest - kelvinOffset);
    if (kelvin < triplePointTemperature)
        throw SizingFailure(Problem::OutOfRange, Operand::Temperature);
    return region2SpecificVolume(absolute, kelvin);
}

} // namespace

double superheatedSteamVolume(double pressure, PressureKind kind, double temperature)
{
    if (!std::isfinite(pressure))
        throw SizingFailure(Problem::NotANumber, Operand::Pressure);
    if (!std::isfinite(temperature))
        throw SizingFailure(Problem::NotANumber, Operand::Temperature);
    return superheatedVolumeAt(absolutePressure(pressure, kind), temperature);
}

namespace {

double logSaturatedVolume(double logPressure)
{
    const double pressure = std::exp(logPressure);
    return std::log(region2SpecificVolume(pressure, saturationTemperature(pressure)));
}

// ln v of saturated steam at evenly spaced ln p over the whole range, falling: a start for the
// inverse good to a few parts in a thousand, so that the secant method finishes in two or
// three steps where a batch asks once a row.
class SaturationTable
{
public:
    static constexpr int points = 64;

    SaturationTable()
    {
        for (int i = 0; i < points; ++i)
            m_logVolume[std::size_t(i)] = logSaturatedVolume(logPressure(i));
    }

    double logPressure(int i) const { return m_lowest + (m_highest - m_lowest) * i / (points - 1); }
    double lowestLogVolume() const { return m_logVolume.back(); }
    double highestLogVolume() const { return m_logVolume.front(); }

    double guess(double logVolume) const
    {
        int i = 1;
        while (i < points - 1 && m_logVolume[std::size_t(i)] > logVolume)
            ++i;
        const double v0 = m_logVolume[std::size_t(i - 1)];
        const double v1 = m_logVolume[std::size_t(i)];
        return logPressure(i - 1)
            + (logVolume - v0) / (v1 - v0) * (logPressure(i) - logPressure(i - 1));
    }

private:
    double m_lowest = std::log(lowestSteamPressure);
    double m_highest = std::log(highestSteamPressure);
    std::array<double, points> m_logVolume {};
};

} // namespace

SaturationState saturationForVolume(double specificVolume)
{
    static const SaturationTable table;
    const double lowest = std::log(lowestSteamPressure);
    const double highest = std::log(highestSteamPressure);
    // A volume typed to six figures at either end of the range still belongs to it.
    constexpr double typedFigures = 5e-6;
    double target = std::log(specificVolume);
    if (!std::isfinite(target) || target > table.highestLogVolume() + typedFigures
        || target < table.lowestLogVolume() - typedFigures)
        throw SizingFailure(Problem::OutOfRange, Operand::SpecificVolume);
    target = std::clamp(target, table.lowestLogVolume(), table.highestLogVolume());
    const auto volumeAt = logSaturatedVolume;
    double x0 = table.guess(target);
    double x1 = std::clamp(x0 + 1e-3, lowest, highest);
    double f0 = volumeAt(x0) - target;
    double f1 = volumeAt(x1) - target;
    for (int step = 0; step < 60 && f1 != 0.0 && std::fabs(x1 - x0) > 1e-13; ++step) {
        const double x2 = std::clamp(x1 - f1 * (x1 - x0) / (f1 - f0), lowest, highest);
        x0 = x1;
        f0 = f1;
        x1 = x2;
        f1 = volumeAt(x1) - target;
    }
    const double pressure = std::exp(x1);
    return {pressure, saturationTemperature(pressure)};
}

} // namespace tovrik
