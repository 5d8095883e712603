#pragma once

#include "base/failure.h"
#include "core/fluid.h"
#include "core/friction.h"
#include "core/pipes.h"
#include "core/sizing.h"
#include "core/steam.h"

#include <optional>
#include <string>
#include <string_view>

// One sizing from end to end, as every front end asks for it: the diameter of the three
// formulas, then the aids around it (the pipes on either side, their real velocities, the fluid
// in the pipe and the pressure drop), each with the reason when it cannot be had. The window,
// the command-line sizer, the batch and the calculation sheet all size through here, so the
// same inputs give the same words everywhere.
namespace tovrik {

// The inputs of one sizing, as typed; an absent one was not given at all.
struct SizingRequest
{
    Medium medium = Medium::Water;
    // Air needs flow, pressure, temperature and velocity. Steam needs flow, velocity and either
    // its specific volume or its pressure, from which saturated steam's volume is found, or, with
    // a temperature, superheated steam's. Water needs flow and velocity; its temperature and
    // pressure serve only the aids.
    std::optional<std::string_view> flow, pressure, temperature, specificVolume, velocity;
    std::optional<std::string_view> steamPressure, steamTemperature;
    std::optional<std::string_view> roughness; // mm, or a name of roughnessNames()
    // The line the pressure drop is for, beyond the drop per 100 m: its length in m, the sum of
    // its fittings' K and their equivalent length in m; and the drop allowed, in kPa over that
    // line or, without one, per 100 m.
    std::optional<std::string_view> length, fittings, equivalentLength, maxDrop;
    // How the pressure of air and water (P) and of steam (p) were read. Air's formula takes an
    // absolute pressure, as the window's field does.
    PressureKind pressureKind = PressureKind::Absolute;
    // How a gas's flow is given; the formula takes it at the standard state.
    FlowBasis flowBasis = FlowBasis::Standard;
    AdviceOptions advice;
    char32_t decimalSeparator = U'.';
    // Whether the report says in words how the aids read the inputs (its basis) and what the
    // pressure drop assumes: a line list that writes only columns does without, and is the
    // faster for it.
    bool explain = true;
};

// A request's texts kept, for when the texts it points to are gone: a calculation sheet written
// after the fields have changed, a line list's rows.
struct KeptRequest
{
    Medium medium = Medium::Water;
    std::optional<std::string> flow, pressure, temperature, specificVolume, velocity;
    std::optional<std::string> steamPressure, steamTemperature, roughness;
    std::optional<std::string> length, fittings, equivalentLength, maxDrop;
    PressureKind pressureKind = PressureKind::Absolute;
    FlowBasis flowBasis = FlowBasis::Standard;
    AdviceOptions advice;
    char32_t decimalSeparator = U'.';

    KeptRequest() = default;
    explicit KeptRequest(const SizingRequest &request);
    // Points into this one, which must outlive it.
    SizingRequest request() const;
};

// The water temperature the aids assume when none is given, in degrees C.
inline constexpr double usualWaterTemperature = 20.0;

struct SizingReport
{
    bool ok = false;
    double diameter = 0.0; // mm
    std::string text; // the result text, exactly as the window shows it
    std::string error; // in the window's words; empty when ok
    Operand errorInput = Operand::None; // the input the error is traced to
    std::optional<double> specificVolume; // m3/kg, when found from the steam pressure
    // Absolute pressure in MPa of a gauge reading the report turned it into.
    std::optional<double> absolutePressure;
    // A gas's flow at the standard state, m3/h, when it was given on another basis.
    std::optional<double> standardFlow;
    FormulaSteps steps; // every number of the formula, for the calculation sheet
    double aidFlow = 0.0; // m3/h at working conditions, which the aids judge
    PipeAdvice advice; // when ok
    std::optional<FluidState> fluid; // the fluid the pressure drop is for
    std::optional<PressureDrop> drop; // in the recommended pipe
    std::optional<LineSpec> line; // the line given
    std::optional<LineDrop> lineDrop; // over it, in the recommended pipe
    std::string dropNote; // why there is no pressure drop
    std::string lineNote; // why the line or the allowable drop given could not be read
    std::string basis; // how the aids read the inputs: the pressure, the water's density
    std::string dropCondition; // what the pressure drop assumes, in words

    // Back to a report of nothing, keeping the storage for the next row.
    void reset();
    // The aids in words, as the window's tooltip and the sizer's advice lines say them.
    std::string adviceText() const;
    // What the pressure drop is for: "air", "steam" or "water".
    std::string_view fluidName() const;
};

SizingReport sizePipe(const SizingRequest &request);
// The same into an existing report, reusing its storage.
void sizePipe(const SizingRequest &request, SizingReport &report);

// The air panel's own checks, in its order: the prompts for an empty flow and an empty pressure
// field. The window shows each in a box; the other front ends report them as one error.
std::string airPrompts(std::string_view flow, std::string_view pressure);

// What is wrong with a water temperature (degrees C) and absolute pressure (MPa) the aids are
// to take, as typed, empty ones meaning the usual 20 C and the atmosphere: the message, with the
// input at fault in operand; empty when the aids can take them.
std::string checkWaterConditions(std::string_view temperature, std::string_view pressure,
                                 char32_t decimalSeparator, Operand &operand);

} // namespace tovrik
