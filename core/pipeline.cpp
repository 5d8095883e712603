#include "core/pipeline.h"

#include "base/conversion.h"
#include "base/text.h"
#include "base/utf8.h"
#include "core/gases.h"
#include "core/realgas.h"
#include "core/words.h"

#include <array>
#include <cmath>
#include <limits>

namespace tovrik {

namespace {

// A number the report found, written back as the shortest text that reads as the same double,
// with the request's decimal separator: the formula then sees exactly that number.
std::string numberText(double value, char32_t decimalSeparator)
{
    std::string text = shortestText(value);
    const std::size_t point = text.find('.');
    if (point != std::string::npos && decimalSeparator != U'.') {
        std::string separator;
        appendUtf8(separator, decimalSeparator);
        text.replace(point, 1, separator);
    }
    return text;
}

// The compressibility of each gas at the state each basis gives its volume at, worked out once.
double referenceCompressibility(Gas gas, FlowBasis basis)
{
    static const auto table = [] {
        std::array<std::array<double, std::size_t(FlowBasis::Mass) + 1>, 7> z {};
        for (const GasDef &def : gasDefs()) {
            for (std::size_t b = 0; b < z[0].size(); ++b) {
                const std::optional<ReferenceState> at = referenceState(FlowBasis(b));
                z[std::size_t(def.gas)][b]
                    = at ? realGas(def.gas, at->pressure, at->temperature).compressibility : 1.0;
            }
        }
        return z;
    }();
    return table[std::size_t(gas)][std::size_t(basis)];
}

} // namespace

double readAid(Input input, std::string_view text, char32_t decimalSeparator)
{
    const Operand operand = inputDef(input).operand;
    if (input == Input::Roughness) {
        if (const std::optional<double> named = roughnessFromName(withoutBlanks(text)))
            return *named;
        try {
            const double mm = readNumber(text, operand, decimalSeparator);
            if (!(mm >= 0.0))
                throw SizingFailure(Problem::OutOfRange, operand);
            return mm;
        } catch (const SizingFailure &failure) {
            // Neither a figure nor a wall's name: say which names there are.
            if (failure.problem() == Problem::NotANumber)
                throw SizingFailure(Problem::UnknownRoughness, operand);
            throw;
        }
    }
    const double value = readNumber(text, operand, decimalSeparator);
    if (!std::isfinite(value))
        throw SizingFailure(Problem::OutOfRange, operand);
    switch (input) {
    case Input::MaxDrop:
        if (!(value > 0.0))
            throw SizingFailure(Problem::NotPositive, operand);
        break;
    case Input::Elevation: break; // a line may fall as well as rise
    default:
        if (!(value >= 0.0))
            throw SizingFailure(Problem::OutOfRange, operand);
        break;
    }
    return value + 0.0; // -0 is 0
}

std::string checkAid(Medium medium, Input input, std::string_view text, char32_t decimalSeparator)
{
    if (blankField(text))
        return {};
    try {
        readAid(input, text, decimalSeparator);
    } catch (const SizingFailure &failure) {
        return failureMessage(medium, failure);
    }
    return {};
}

namespace {

class Sizer
{
public:
    Sizer(const SizingRequest &request, SizingReport &report, PropertyCache *cache)
        : m_request(request)
        , m_report(report)
        , m_medium(request.medium)
        , m_cache(cache)
    {
    }

    void run();

private:
    double number(std::string_view text, Operand operand) const
    {
        return readNumber(text, operand, m_request.decimalSeparator);
    }
    bool given(Input input) const { return m_request.given(input); }
    std::string_view text(Input input) const { return m_request.text(input); }
    // What the aids need beyond the sizing: where it cannot be had, the sizing stands and the
    // reason says why; the first reason is the one kept.
    template<typename Make>
    auto aid(std::optional<Reason> &reason, Make &&make) -> std::optional<decltype(make())>
    {
        try {
            return make();
        } catch (const SizingFailure &failure) {
            if (!reason)
                reason = failure.reason();
            return std::nullopt;
        }
    }
    template<typename Make>
    auto aid(Make &&make) -> std::optional<decltype(make())>
    {
        return aid(m_report.dropReason, make);
    }
    // The states of water and steam, from the cache where the caller keeps one.
    FluidState waterState(double temperature, double pressure) const
    {
        return m_cache ? m_cache->waterState(temperature, pressure)
                       : tovrik::waterState(temperature, pressure);
    }
    // The medium's formula, with what its aids need of it.
    Sizing formula();
    Sizing air();
    Sizing steam();
    void judgeGas(Gas gas, double pressure, double temperature, double idealFlow);
    void judgeSteam(const Sizing &sizing, double volume);
    Sizing water();
    void advise(const Sizing &sizing);
    std::optional<LineSpec> lineSpec();
    // The drop per 100 m in a bore, and over the line; a figure too large to be had is none.
    PressureDrop drop(double bore, double roughness) const;
    LineDrop line(double friction, double bore, const LineSpec &piping) const;
    void judgeDrop(const PressureDrop &drop);
    // Whether the allowable drop is over the line: where there is one, and the limit is not said
    // to be per 100 m.
    bool overLine(const std::optional<LineSpec> &line) const
    {
        return line
            && !(given(Input::MaxDropBasis)
                 && dropLimitBasisFromName(text(Input::MaxDropBasis)) == DropLimitBasis::Per100m);
    }
    void sizeByDrop(double maxDrop, const std::optional<LineSpec> &line, double roughness);
    void fail(const SizingFailure &failure);
    void fail(std::string error);

    void require(bool meaningful, Operand input)
    {
        if (!meaningful && !m_meaningless) {
            m_meaningless = true;
            m_unjudged = input;
        }
    }

    const SizingRequest &m_request;
    SizingReport &m_report;
    Medium m_medium;
    PropertyCache *m_cache;
    AdviceOptions m_options; // the request's, its named inputs read
    // The first input that makes a velocity check meaningless, in the order the panel reads.
    Operand m_unjudged = Operand::None;
    bool m_meaningless = false;
    std::optional<FluidState> m_fluid;
    std::optional<NotAGas> m_notGas;
    double m_massFlow = 0.0; // kg/h, of a gas given by its mass
    // The formula's failure, which ends the sizing as a thrown one does.
    std::optional<SizingFailure> m_failure;
};

Sizing Sizer::air()
{
    const SizingRequest &r = m_request;
    const Gas gas = effectiveGas(m_options);
    std::string_view pressure = text(Input::Pressure);
    std::string absoluteText;
    if (m_report.pressureKind == PressureKind::Gauge) {
        // The formula takes an absolute pressure, as the window's field holds one.
        const double absolute
            = absolutePressure(number(pressure, Operand::Pressure), PressureKind::Gauge);
        m_report.absolutePressure = absolute;
        absoluteText = numberText(absolute, r.decimalSeparator);
        pressure = absoluteText;
    }
    // The formula takes the flow at its standard state: another basis is turned into that first,
    // and the formula sees exactly the figure the report gives.
    std::string_view flowText = text(Input::Flow);
    std::string standardText;
    if (m_report.flowBasis != FlowBasis::Standard) {
        const double given = number(flowText, Operand::Flow);
        double standard = 0.0;
        if (m_report.flowBasis == FlowBasis::Actual) {
            // The conversion divides by the formula's T + 273, which must be above zero.
            const double temperature = number(text(Input::Temperature), Operand::Temperature);
            if (!(temperature + 273.0 > 0.0))
                throw SizingFailure(Problem::BelowFormulaZero, Operand::Temperature);
            standard = standardFlow(m_report.flowBasis, given, gas,
                                    number(pressure, Operand::Pressure), temperature);
        } else {
            standard = standardFlow(m_report.flowBasis, given, gas, 0.0, 0.0);
        }
        m_massFlow = given;
        m_report.standardFlow = standard;
        standardText = numberText(standard, r.decimalSeparator);
        flowText = standardText;
    }
    const Sizing sizing = airSizing(flowText, pressure, text(Input::Temperature),
                                    text(Input::Velocity), r.decimalSeparator, m_failure);
    if (m_failure)
        return sizing;
    // The inputs as the formula read them, each text converted once.
    const double absolute = sizing.steps.pressure;
    const double temperature = sizing.steps.temperature;
    require(sizing.steps.flow > 0.0, Operand::Flow);
    require(absolute > 0.0, Operand::Pressure);
    require(temperature + kelvinOffset > 0.0, Operand::Temperature);
    require(sizing.steps.velocity > 0.0, Operand::Velocity);
    m_report.aidFlow = sizing.flow;
    if (!m_meaningless)
        judgeGas(gas, absolute, temperature, sizing.flow);
    return sizing;
}

Sizing Sizer::steam()
{
    const SizingRequest &r = m_request;
    const bool superheated = given(Input::SteamTemperature);
    if (superheated && !r[Input::SteamPressure])
        throw SizingFailure(Problem::NeedsPressure, Operand::Temperature);
    if (!r[Input::SteamPressure]) {
        const Sizing sizing = steamSizing(text(Input::Flow), text(Input::SpecificVolume),
                                          text(Input::Velocity), r.decimalSeparator, m_failure);
        if (!m_failure)
            judgeSteam(sizing, sizing.steps.specificVolume);
        return sizing;
    }
    const PressureKind kind = m_report.pressureKind;
    const double pressure = number(text(Input::SteamPressure), Operand::Pressure);
    const double absolute = absolutePressure(pressure, kind);
    double volume = 0.0;
    if (superheated) {
        const double temperature = number(text(Input::SteamTemperature), Operand::Temperature);
        volume = m_cache ? m_cache->superheatedSteamVolume(pressure, kind, temperature)
                         : superheatedSteamVolume(pressure, kind, temperature);
        m_fluid = superheatedSteamState(volume, temperature, absolute);
    } else {
        volume = m_cache ? m_cache->saturatedSteamVolume(pressure, kind)
                         : saturatedSteamVolume(pressure, kind);
        m_fluid = m_cache ? m_cache->saturatedSteamStateAt(absolute, volume)
                          : saturatedSteamStateAt(absolute, volume);
    }
    m_report.specificVolume = volume;
    m_report.superheated = superheated;
    m_options.superheated = superheated;
    if (kind == PressureKind::Gauge)
        m_report.absolutePressure = absolute;
    const Sizing sizing = steamSizing(text(Input::Flow), volume, text(Input::Velocity),
                                      r.decimalSeparator, m_failure);
    if (!m_failure)
        judgeSteam(sizing, volume);
    return sizing;
}

// The gas in the pipe, once its inputs are meaningful: no gas at all below its critical
// temperature and at or above its vapour pressure; else a real gas, whose volume flow at the
// design state is the ideal one the formula found times its compressibility there over that at
// the state its flow was given at. The diameter stays the formula's, of the ideal flow.
void Sizer::judgeGas(Gas gas, double pressure, double temperature, double idealFlow)
{
    const PhaseCheck phase = gasPhase(gas, pressure, temperature);
    if (phase.phase != GasPhase::Gas) {
        m_notGas = NotAGas {pressure, temperature, phase.phase == GasPhase::Liquid,
                            phase.vapourPressure, phase.criticalTemperature};
        return;
    }
    PropertyCache uncached;
    PropertyCache &cache = m_cache ? *m_cache : uncached;
    const std::optional<PropertyCache::GasInPipe> inPipe
        = aid([&] { return cache.gasInPipe(gas, pressure, temperature); });
    if (!inPipe)
        return;
    m_fluid = inPipe->state;
    const double z = inPipe->compressibility;
    m_report.compressibility = z;
    if (m_report.flowBasis == FlowBasis::Mass)
        m_report.aidFlow = m_massFlow / m_fluid->density;
    else if (referenceState(m_report.flowBasis))
        m_report.aidFlow = idealFlow * (z / referenceCompressibility(gas, m_report.flowBasis));
    // A flow given at the design state is the real one as it stands.
}

// What both ways of giving steam share once its formula has run.
void Sizer::judgeSteam(const Sizing &sizing, double volume)
{
    require(sizing.steps.flow > 0.0, Operand::Flow);
    require(volume > 0.0, Operand::SpecificVolume);
    require(sizing.steps.velocity > 0.0, Operand::Velocity);
    // A volume given is taken as saturated steam's: the state is the one of that volume.
    if (!m_request[Input::SteamPressure] && !m_meaningless) {
        m_fluid = aid([&] {
            return m_cache ? m_cache->saturatedSteamState(volume) : saturatedSteamState(volume);
        });
    }
    m_report.aidFlow = sizing.flow;
}

Sizing Sizer::water()
{
    const SizingRequest &r = m_request;
    const Sizing sizing
        = waterSizing(text(Input::Flow), text(Input::Velocity), r.decimalSeparator, m_failure);
    if (m_failure)
        return sizing;
    const double mass = sizing.flow; // t/h, which the formula takes as m3/h
    require(mass > 0.0, Operand::Flow);
    require(sizing.steps.velocity > 0.0, Operand::Velocity);
    // The panel's flow is a mass flow: the aids turn it into the volume it is at the water's
    // temperature and pressure, 20 C and the atmosphere unless they are given.
    m_report.waterTemperatureGiven = given(Input::Temperature);
    const std::optional<double> temperature = given(Input::Temperature)
        ? aid([&] { return number(text(Input::Temperature), Operand::Temperature); })
        : std::optional<double>(usualWaterTemperature);
    const std::optional<double> pressure = given(Input::Pressure)
        ? aid([&] {
              return absolutePressure(number(text(Input::Pressure), Operand::Pressure),
                                      m_report.pressureKind);
          })
        : std::optional<double>(atmosphericPressure);
    if (given(Input::Pressure) && m_report.pressureKind == PressureKind::Gauge && pressure)
        m_report.absolutePressure = *pressure;
    if (temperature && pressure)
        m_fluid = aid([&] { return waterState(*temperature, *pressure); });
    m_report.aidFlow = mass;
    if (m_fluid && !m_meaningless && std::isfinite(mass * (1000.0 / m_fluid->density))) {
        m_report.aidFlow = mass * (1000.0 / m_fluid->density);
        m_report.waterVolumeKnown = true;
    }
    return sizing;
}

void Sizer::advise(const Sizing &sizing)
{
    if (m_meaningless) {
        m_report.advice = unjudged(m_medium, sizing.diameter, m_unjudged, m_options);
        m_report.dropReason.reset();
        m_fluid.reset();
        return;
    }
    m_report.judged = true;
    if (m_notGas) {
        m_report.advice = notAGas(sizing.diameter, *m_notGas, m_options);
        return;
    }
    tovrik::advise(m_report.advice, m_medium, m_report.aidFlow, sizing.diameter, m_options);
    const std::optional<double> roughness = given(Input::Roughness)
        ? aid([&] {
              return readAid(Input::Roughness, text(Input::Roughness), m_request.decimalSeparator);
          })
        : std::optional<double>(commercialSteelRoughness);
    const std::optional<LineSpec> line = lineSpec();
    const std::optional<double> maxDrop = given(Input::MaxDrop)
        ? aid(m_report.lineReason,
              [&] {
                  return readAid(Input::MaxDrop, text(Input::MaxDrop), m_request.decimalSeparator);
              })
        : std::nullopt;
    if (m_fluid && roughness) {
        if (maxDrop && m_report.advice.status == PipeAdvice::Status::Sized)
            sizeByDrop(*maxDrop, line, *roughness);
        if (const SizeCheck *pipe = m_report.advice.recommended()) {
            m_report.drop = aid([&] { return drop(pipe->size.bore, *roughness); });
            if (m_report.drop && line) {
                const std::optional<LineDrop> over = aid(m_report.lineReason, [&] {
                    return this->line(m_report.drop->friction, pipe->size.bore, *line);
                });
                if (over) {
                    m_report.line = line;
                    m_report.lineDrop = over;
                }
            }
            if (m_report.drop)
                judgeDrop(*m_report.drop);
        }
    }
    m_report.fluid = m_fluid;
}

PressureDrop Sizer::drop(double bore, double roughness) const
{
    const PressureDrop drop
        = dropPer100m(*m_fluid, m_medium != Medium::Water, m_report.aidFlow, bore, roughness);
    if (!std::isfinite(drop.kPaPer100m))
        throw SizingFailure(Problem::Overflow);
    return drop;
}

LineDrop Sizer::line(double friction, double bore, const LineSpec &piping) const
{
    // Water flashes where the line's outlet falls below its vapour pressure.
    const double vapour = m_medium == Medium::Water
        ? saturationPressure(m_fluid->temperature + kelvinOffset)
        : std::numeric_limits<double>::quiet_NaN();
    const LineDrop over = lineDrop(*m_fluid, m_medium != Medium::Water, friction, m_report.aidFlow,
                                   bore, piping, vapour);
    if (over.method != DropMethod::Choked && !std::isfinite(over.kPa))
        throw SizingFailure(Problem::Overflow);
    return over;
}

// The usual largest drop per 100 m of the service, where a cited source gives one.
void Sizer::judgeDrop(const PressureDrop &drop)
{
    if (m_medium != Medium::Steam)
        return;
    const DropLimit &usual
        = steamDropLimit(m_options.superheated ? SteamKind::Superheated : SteamKind::Saturated);
    if (drop.kPaPer100m > usual.kPaPer100m)
        m_report.dropAboveUsual = &usual;
}

std::optional<LineSpec> Sizer::lineSpec()
{
    if (!given(Input::Length) && !given(Input::Fittings) && !given(Input::EquivalentLength)
        && !given(Input::Elevation))
        return std::nullopt;
    const std::optional<LineSpec> line = aid(m_report.lineReason, [&] {
        const auto read = [&](Input input) {
            return given(input) ? readAid(input, text(input), m_request.decimalSeparator) : 0.0;
        };
        LineSpec asGiven;
        asGiven.length = read(Input::Length);
        asGiven.fittings = read(Input::Fittings);
        asGiven.equivalentLength = read(Input::EquivalentLength);
        asGiven.rise = read(Input::Elevation);
        return asGiven;
    });
    // A line of no length and no fittings is no line: the drop is per 100 m, and so is its limit.
    if (line && line->length == 0.0 && line->equivalentLength == 0.0 && line->fittings == 0.0
        && line->rise == 0.0) {
        m_report.lineWithoutLength = true;
        return std::nullopt;
    }
    return line;
}

// The allowable-drop method: up the offered sizes from the smallest, the first that runs no
// faster than its usual range and loses no more than the limit.
void Sizer::sizeByDrop(double maxDrop, const std::optional<LineSpec> &line, double roughness)
{
    PipeAdvice &advice = m_report.advice;
    advice.maxDrop = maxDrop;
    advice.maxDropOverLine = overLine(line);
    for (const PipeSize &size : offeredSizes(advice.options)) {
        const SizeCheck check = checkSize(m_medium, m_report.aidFlow, size, advice.options);
        if (check.check == VelocityCheck::Above)
            continue;
        try {
            const PressureDrop drop = this->drop(size.bore, roughness);
            double kPa = drop.kPaPer100m;
            if (overLine(line)) {
                const LineDrop over = this->line(drop.friction, size.bore, *line);
                if (over.method == DropMethod::Choked || over.method == DropMethod::Flashing)
                    continue;
                kPa = over.kPa;
            }
            if (kPa <= maxDrop) {
                advice.byDrop = check;
                return;
            }
        } catch (const SizingFailure &) {
            // No drop for this size (its Reynolds number out of range, a wall too rough, choked
            // within 100 m): the next may have one.
        }
    }
}

void Sizer::run()
{
    const Choices choices = choicesOf(m_request);
    if (choices.unknown) {
        fail(unknownNameMessage(*choices.unknown, m_request.text(*choices.unknown)));
        return;
    }
    if (m_medium == Medium::Air) {
        std::string prompts = airPrompts(text(Input::Flow), text(Input::Pressure));
        if (!prompts.empty()) {
            fail(std::move(prompts));
            return;
        }
    }
    m_options = choices.advice;
    m_report.flowBasis = choices.flowBasis;
    m_report.pressureKind = m_request.pressureKind.value_or(PressureKind::Absolute);
    try {
        const Sizing sizing = formula();
        if (m_failure) {
            fail(*m_failure);
            return;
        }
        m_report.diameter = sizing.diameter;
        m_report.steps = sizing.steps;
        tracedTo(Operand::None, [&] {
            appendVbaStrR8(m_report.text, sizing.diameter, m_request.decimalSeparator);
        });
        advise(sizing);
        m_report.ok = true;
    } catch (const SizingFailure &failure) {
        fail(failure);
    }
}

Sizing Sizer::formula()
{
    switch (m_medium) {
    case Medium::Air: return air();
    case Medium::Steam: return steam();
    case Medium::Water: break;
    }
    return water();
}

void Sizer::fail(const SizingFailure &failure)
{
    fail(failureMessage(m_medium, failure));
    m_report.errorInput = failure.operand();
}

void Sizer::fail(std::string error)
{
    m_report.reset();
    m_report.error = std::move(error);
}

} // namespace

std::string_view SizingReport::fluidName() const
{
    switch (advice.medium) {
    case Medium::Air: return gasDef(effectiveGas(advice.options)).name;
    case Medium::Steam: return "steam";
    case Medium::Water: return "water";
    }
    return {};
}

SizingReport sizePipe(const SizingRequest &request)
{
    SizingReport report;
    sizePipe(request, report);
    return report;
}

void sizePipe(const SizingRequest &request, SizingReport &report, PropertyCache *cache)
{
    report.reset();
    Sizer(request, report, cache).run();
}

std::string airPrompts(std::string_view flow, std::string_view pressure)
{
    std::string prompts;
    if (vbaStrCmp("", flow) == 0)
        prompts += airFlowPrompt;
    if (vbaStrCmp("", pressure) == 0)
        prompts += airPressurePrompt;
    return prompts;
}

std::string steamVolumeText(std::string_view pressure, PressureKind kind,
                            std::string_view temperature, char32_t decimalSeparator,
                            std::string &error, Operand &operand)
{
    try {
        const double p = readNumber(pressure, Operand::Pressure, decimalSeparator);
        const double volume = blankField(temperature)
            ? saturatedSteamVolume(p, kind)
            : superheatedSteamVolume(
                p, kind, readNumber(temperature, Operand::Temperature, decimalSeparator));
        std::string text;
        appendSignificant(text, volume, 6);
        if (const std::size_t point = text.find('.');
            point != std::string::npos && decimalSeparator != U'.') {
            std::string separator;
            appendUtf8(separator, decimalSeparator);
            text.replace(point, 1, separator);
        }
        return text;
    } catch (const SizingFailure &failure) {
        operand = failure.operand();
        error = failureMessage(Medium::Steam, failure);
        return {};
    }
}

std::string checkWaterConditions(std::string_view temperature, std::string_view pressure,
                                 char32_t decimalSeparator, Operand &operand)
{
    try {
        const double t = blankField(temperature)
            ? usualWaterTemperature
            : readNumber(temperature, Operand::Temperature, decimalSeparator);
        const double p = blankField(pressure)
            ? atmosphericPressure
            : readNumber(pressure, Operand::Pressure, decimalSeparator);
        waterState(t, p);
    } catch (const SizingFailure &failure) {
        operand = failure.operand();
        return failureMessage(Medium::Water, failure);
    }
    operand = Operand::None;
    return {};
}

} // namespace tovrik
