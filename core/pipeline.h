#pragma once

#include "core/fluid.h"
#include "core/friction.h"
#include "core/inputs.h"
#include "core/pipes.h"
#include "core/properties.h"
#include "core/servicelimits.h"
#include "core/sizing.h"

#include <optional>
#include <string>
#include <type_traits>

// One sizing from end to end, as every front end asks for it: the diameter of the three
// formulas, then the aids around it (the pipes on either side, their real velocities, the fluid
// in the pipe and the pressure drop), each with the reason when it cannot be had. The report
// holds facts; core/words.h says them. The window, the command-line sizer, the batch and the
// calculation sheet all size through here, so the same inputs give the same answer everywhere.
namespace tovrik {

// The water temperature the aids assume when none is given, in degrees C.
inline constexpr double usualWaterTemperature = 20.0;

// What the aids found, beside the formula's result: trivially copied, so that a line list
// starts each row from nothing at the cost of a copy.
struct SizingFacts
{
    bool ok = false;
    double diameter = 0.0; // mm
    Operand errorInput = Operand::None; // the input the error is traced to
    // Whether the inputs are physically meaningful, so that the aids were run: positive flow,
    // velocity and volume, an absolute pressure above zero, a temperature above 0 K.
    bool judged = false;
    // How the pressure P (air, water) or p (steam) was read; an absolute one of a gauge reading.
    PressureKind pressureKind = PressureKind::Absolute;
    std::optional<double> absolutePressure; // MPa
    // A gas's flow basis, and its flow at the standard state, m3/h, when given on another one.
    FlowBasis flowBasis = FlowBasis::Standard;
    std::optional<double> standardFlow;
    // Steam's specific volume found from its pressure (m3/kg), and whether it is superheated.
    std::optional<double> specificVolume;
    bool superheated = false;
    // Water's temperature as given, or the usual one assumed; whether its mass flow could be
    // turned into a volume at its density, or is taken as 1 t/h = 1 m3/h.
    bool waterTemperatureGiven = false;
    bool waterVolumeKnown = false;
    // A gas's compressibility at the design state, by which its real volume flow differs from
    // the ideal one the formula takes.
    std::optional<double> compressibility;
    // A line given with no length and no fittings: the allowable drop is then per 100 m.
    bool lineWithoutLength = false;
    // The usual largest drop per 100 m of the service that the drop exceeds, where a cited
    // source gives one.
    const DropLimit *dropAboveUsual = nullptr;
    FormulaSteps steps; // every number of the formula, for the calculation sheet
    double aidFlow = 0.0; // m3/h at working conditions, which the aids judge
    PipeAdvice advice; // when ok
    std::optional<FluidState> fluid; // the fluid the pressure drop is for
    std::optional<PressureDrop> drop; // in the recommended pipe
    std::optional<LineSpec> line; // the line given
    std::optional<LineDrop> lineDrop; // over it, in the recommended pipe
    std::optional<Reason> dropReason; // why there is no pressure drop
    std::optional<Reason> lineReason; // why the line or the allowable drop given is not read
};
static_assert(std::is_trivially_copyable_v<SizingFacts>);

struct SizingReport : SizingFacts
{
    std::string text; // the result text, exactly as the window shows it
    std::string error; // in the window's words; empty when ok

    // Back to a report of nothing, keeping the storage of its texts for the next row.
    void reset()
    {
        // A copy of one made once: the facts are trivially copied, where building a new one
        // would set each of its members in turn, every row of a list.
        static const SizingFacts none;
        static_cast<SizingFacts &>(*this) = none;
        text.clear();
        error.clear();
    }
    // What the pressure drop is for: "air", "steam" or "water".
    std::string_view fluidName() const;
};

SizingReport sizePipe(const SizingRequest &request);
// The same into an existing report, reusing its storage; a line list passes the cache of the
// states it has met, so that the same steam or water is worked out once.
void sizePipe(const SizingRequest &request, SizingReport &report, PropertyCache *cache = nullptr);

// A figure of the aids (roughness, line, allowable drop, rise) as the sizing reads it; throws
// SizingFailure as the sizing would note it.
double readAid(Input input, std::string_view text, char32_t decimalSeparator);
// What is wrong with such a figure as typed, in the words the sizing would use; empty when the
// sizing can take it, or it is empty (not given).
std::string checkAid(Medium medium, Input input, std::string_view text, char32_t decimalSeparator);

// The specific volume of steam at a pressure of a kind and, where one is given, a temperature of
// superheated steam, as a u field takes it: to six significant figures with the decimal
// separator. Empty, with the message and the input at fault, where the steam cannot be had.
std::string steamVolumeText(std::string_view pressure, PressureKind kind,
                            std::string_view temperature, char32_t decimalSeparator,
                            std::string &error, Operand &operand);

// The air panel's own checks, in its order: the prompts for an empty flow and an empty pressure
// field. The window shows each in a box; the other front ends report them as one error.
std::string airPrompts(std::string_view flow, std::string_view pressure);

// What is wrong with a water temperature (degrees C) and absolute pressure (MPa) the aids are
// to take, as typed, empty ones meaning the usual 20 C and the atmosphere: the message, with the
// input at fault in operand; empty when the aids can take them.
std::string checkWaterConditions(std::string_view temperature, std::string_view pressure,
                                 char32_t decimalSeparator, Operand &operand);

} // namespace tovrik
