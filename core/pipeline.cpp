#include "core/pipeline.h"

#include "base/conversion.h"
#include "base/text.h"
#include "base/utf8.h"
#include "core/gases.h"
#include "core/messages.h"
#include "core/renew.h"

#include <cmath>

namespace tovrik {

namespace {

std::string_view textOf(const std::optional<std::string_view> &input)
{
    return input.value_or(std::string_view());
}

bool given(const std::optional<std::string_view> &input)
{
    return input && !input->empty();
}

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

// "0.101325" MPa, "20" degrees C, "100.18" m3/h: as few digits as the figure has, at most so
// many decimals, or four significant figures for a figure too small or too large for them.
void appendFigure(std::string &out, double value, int decimals = 6)
{
    const double scale = std::pow(10.0, decimals);
    if (value != 0.0 && (std::fabs(value) * scale < 1000.0 || std::fabs(value) >= 1e15)) {
        appendSignificant(out, value, 4);
        return;
    }
    const double rounded = std::round(value * scale) / scale;
    out += shortestText(rounded == 0.0 ? 0.0 : rounded);
}

class Sizer
{
public:
    Sizer(const SizingRequest &request, SizingReport &report)
        : m_request(request)
        , m_report(report)
        , m_medium(request.medium)
    {
    }

    void run();

private:
    double number(std::string_view text, Operand operand) const
    {
        return readNumber(text, operand, m_request.decimalSeparator);
    }
    // What the aids need beyond the sizing: where it cannot be had, the sizing stands and the
    // note says why.
    template<typename Make>
    auto aid(Make &&make) -> std::optional<decltype(make())>
    {
        return aidNoting(m_report.dropNote, make);
    }
    template<typename Make>
    auto aidNoting(std::string &note, Make &&make) -> std::optional<decltype(make())>
    {
        try {
            return make();
        } catch (const SizingFailure &failure) {
            if (note.empty())
                note = failureMessage(m_medium, failure);
            return std::nullopt;
        }
    }
    // The medium's formula, with what its aids need of it.
    Sizing formula();
    Sizing air();
    Sizing steam();
    void judgeSteam(const Sizing &sizing, double volume);
    Sizing water();
    void advise(const Sizing &sizing);
    std::optional<LineSpec> lineSpec();
    void sizeByDrop(double maxDrop, const std::optional<LineSpec> &line, double roughness);

    const SizingRequest &m_request;
    SizingReport &m_report;
    Medium m_medium;
    // The first input that makes a velocity check meaningless, in the order the panel reads.
    Operand m_unjudged = Operand::None;
    bool m_meaningless = false;
    std::optional<FluidState> m_fluid;
    // The formula's failure, which ends the sizing as a thrown one does.
    std::optional<SizingFailure> m_failure;
    void fail(const SizingFailure &failure);

    void require(bool meaningful, Operand input)
    {
        if (!meaningful && !m_meaningless) {
            m_meaningless = true;
            m_unjudged = input;
        }
    }
};

Sizing Sizer::air()
{
    const SizingRequest &r = m_request;
    const Gas gas = effectiveGas(r.advice);
    std::string_view pressure = textOf(r.pressure);
    std::string absoluteText;
    if (r.pressureKind == PressureKind::Gauge) {
        // The formula takes an absolute pressure, as the window's field holds one.
        const double absolute
            = absolutePressure(number(pressure, Operand::Pressure), PressureKind::Gauge);
        m_report.absolutePressure = absolute;
        absoluteText = numberText(absolute, r.decimalSeparator);
        pressure = absoluteText;
    }
    // The formula takes the flow at its standard state: another basis is turned into that first,
    // and the formula sees exactly the figure the report gives.
    std::string_view flowText = textOf(r.flow);
    std::string standardText;
    if (r.flowBasis != FlowBasis::Standard) {
        const double given = number(flowText, Operand::Flow);
        const double standard = r.flowBasis == FlowBasis::Actual
            ? standardFlow(r.flowBasis, given, gas, number(pressure, Operand::Pressure),
                           number(textOf(r.temperature), Operand::Temperature))
            : standardFlow(r.flowBasis, given, gas, 0.0, 0.0);
        m_report.standardFlow = standard;
        standardText = numberText(standard, r.decimalSeparator);
        flowText = standardText;
    }
    const Sizing sizing = airSizing(flowText, pressure, textOf(r.temperature), textOf(r.velocity),
                                    r.decimalSeparator, m_failure);
    if (m_failure)
        return sizing;
    // The inputs as the formula read them, each text converted once.
    const double flow = sizing.steps.flow;
    const double absolute = sizing.steps.pressure;
    const double temperature = sizing.steps.temperature;
    const double velocity = sizing.steps.velocity;
    require(flow > 0.0, Operand::Flow);
    require(absolute > 0.0, Operand::Pressure);
    require(temperature + kelvinOffset > 0.0, Operand::Temperature);
    require(velocity > 0.0, Operand::Velocity);

    if (r.explain) {
        std::string &basis = m_report.basis;
        if (m_report.standardFlow) {
            basis = "流量按";
            basis += flowBasisTitle(r.flowBasis);
            basis += "给出，即标态（0.1 MPa、273 K）流量 ";
            appendFigure(basis, *m_report.standardFlow, 3);
            basis += " m³/h；";
        }
        basis += "设计压力P按绝对压力";
        if (m_report.absolutePressure) {
            basis.resize(basis.size() - std::string_view("设计压力P按绝对压力").size());
            basis += "设计压力P按表压，即绝对压力 ";
            appendFigure(basis, absolute);
            basis += " MPa";
        }
        basis += "。";
        m_report.dropCondition = gasDef(gas).title;
    }
    if (!m_meaningless) {
        // The formula's 273 K is the definition's; the density takes the kelvin as it is.
        m_fluid = aid([&] { return gasState(gas, absolute, temperature); });
    }
    m_report.aidFlow = sizing.flow;
    return sizing;
}

Sizing Sizer::steam()
{
    const SizingRequest &r = m_request;
    if (given(r.steamTemperature) && !r.steamPressure)
        throw SizingFailure(Problem::NeedsPressure, Operand::Temperature);
    if (!r.steamPressure) {
        const Sizing sizing = steamSizing(textOf(r.flow), textOf(r.specificVolume),
                                          textOf(r.velocity), r.decimalSeparator, m_failure);
        if (!m_failure)
            judgeSteam(sizing, sizing.steps.specificVolume);
        return sizing;
    }
    const double pressure = number(*r.steamPressure, Operand::Pressure);
    const double absolute = absolutePressure(pressure, r.pressureKind);
    double volume = 0.0;
    if (given(r.steamTemperature)) {
        const double temperature = number(*r.steamTemperature, Operand::Temperature);
        volume = superheatedSteamVolume(pressure, r.pressureKind, temperature);
        m_fluid = superheatedSteamState(volume, temperature, absolute);
    } else {
        volume = saturatedSteamVolume(pressure, r.pressureKind);
        m_fluid = saturatedSteamStateAt(absolute, volume);
    }
    m_report.specificVolume = volume;
    if (r.pressureKind == PressureKind::Gauge)
        m_report.absolutePressure = absolute;
    const Sizing sizing
        = steamSizing(textOf(r.flow), volume, textOf(r.velocity), r.decimalSeparator, m_failure);
    if (m_failure)
        return sizing;
    if (r.explain) {
        std::string &basis = m_report.basis;
        basis = "比容按 IAPWS-IF97 取 ";
        appendFixed(basis, volume, 5);
        basis += " m³/kg（";
        basis += given(r.steamTemperature) ? "过热蒸汽" : "饱和蒸汽";
        basis += "，绝对压力 ";
        appendFigure(basis, absolute);
        basis += " MPa）。";
    }
    judgeSteam(sizing, volume);
    return sizing;
}

// What both ways of giving steam share once its formula has run.
void Sizer::judgeSteam(const Sizing &sizing, double volume)
{
    require(sizing.steps.flow > 0.0, Operand::Flow);
    require(volume > 0.0, Operand::SpecificVolume);
    require(sizing.steps.velocity > 0.0, Operand::Velocity);
    // A volume given is taken as saturated steam's: the state is the one of that volume.
    if (!m_request.steamPressure && !m_meaningless)
        m_fluid = aid([&] { return saturatedSteamState(volume); });
    m_report.aidFlow = sizing.flow;
}

Sizing Sizer::water()
{
    const SizingRequest &r = m_request;
    const Sizing sizing
        = waterSizing(textOf(r.flow), textOf(r.velocity), r.decimalSeparator, m_failure);
    if (m_failure)
        return sizing;
    const double mass = sizing.flow; // t/h, which the formula takes as m3/h
    require(mass > 0.0, Operand::Flow);
    require(sizing.steps.velocity > 0.0, Operand::Velocity);
    // The panel's flow is a mass flow: the aids turn it into the volume it is at the water's
    // temperature and pressure, 20 C and the atmosphere unless they are given.
    const std::optional<double> temperature = given(r.temperature)
        ? aid([&] { return number(*r.temperature, Operand::Temperature); })
        : std::optional<double>(usualWaterTemperature);
    const std::optional<double> pressure = given(r.pressure)
        ? aid([&] {
              return absolutePressure(number(*r.pressure, Operand::Pressure), r.pressureKind);
          })
        : std::optional<double>(atmosphericPressure);
    if (given(r.pressure) && r.pressureKind == PressureKind::Gauge && pressure)
        m_report.absolutePressure = *pressure;
    if (temperature && pressure)
        m_fluid = aid([&] { return waterState(*temperature, *pressure); });
    if (!given(r.temperature) && r.explain)
        m_report.dropCondition = "水温按 20 °C";

    std::string &basis = m_report.basis;
    if (m_fluid && !m_meaningless && std::isfinite(mass * (1000.0 / m_fluid->density))) {
        m_report.aidFlow = mass * (1000.0 / m_fluid->density);
        if (r.explain) {
            basis = "水的密度按 ";
            appendFigure(basis, m_fluid->temperature);
            basis += given(r.temperature) ? " °C、绝对压力 " : " °C（未给水温）、绝对压力 ";
            appendFigure(basis, m_fluid->pressure);
            basis += " MPa 取 ";
            appendFixed(basis, m_fluid->density, 2);
            basis += " kg/m³：";
            appendFigure(basis, mass);
            basis += " t/h 即 ";
            appendFigure(basis, m_report.aidFlow, 2);
            basis += " m³/h，据此校核流速。";
        }
    } else {
        m_report.aidFlow = mass;
        if (!m_meaningless && r.explain)
            basis = "水的密度无法确定，流速按 1 t/h 即 1 m³/h 校核。";
    }
    return sizing;
}

void Sizer::advise(const Sizing &sizing)
{
    const SizingRequest &r = m_request;
    if (m_meaningless) {
        m_report.advice = unjudged(m_medium, sizing.diameter, m_unjudged, r.advice);
        m_report.basis.clear();
        m_report.dropNote.clear();
        m_fluid.reset();
        return;
    }
    tovrik::advise(m_report.advice, m_medium, m_report.aidFlow, sizing.diameter, r.advice);
    const std::optional<double> roughness = given(r.roughness)
        ? aid([&] {
              if (const std::optional<double> named = roughnessFromName(*r.roughness))
                  return *named;
              return number(*r.roughness, Operand::Roughness);
          })
        : std::optional<double>(commercialSteelRoughness);
    const std::optional<LineSpec> line = lineSpec();
    const std::optional<double> maxDrop = given(r.maxDrop)
        ? aidNoting(m_report.lineNote,
                    [&] {
                        const double kPa = number(*r.maxDrop, Operand::MaxDrop);
                        if (!(kPa > 0.0))
                            throw SizingFailure(Problem::NotPositive, Operand::MaxDrop);
                        return kPa;
                    })
        : std::nullopt;
    if (m_fluid && roughness) {
        if (maxDrop && m_report.advice.status == PipeAdvice::Status::Sized)
            sizeByDrop(*maxDrop, line, *roughness);
        m_report.drop = recommendedPipeDrop(m_medium, m_report.advice, m_report.aidFlow, *roughness,
                                            *m_fluid, m_report.dropNote);
        if (m_report.drop && line) {
            m_report.line = line;
            m_report.lineDrop
                = lineDrop(*m_fluid, m_medium != Medium::Water, m_report.drop->friction,
                           m_report.aidFlow, m_report.advice.recommended()->size.bore, *line);
        }
    }
    m_report.fluid = m_fluid;
}

std::optional<LineSpec> Sizer::lineSpec()
{
    const SizingRequest &r = m_request;
    if (!given(r.length) && !given(r.fittings) && !given(r.equivalentLength))
        return std::nullopt;
    return aidNoting(m_report.lineNote, [&] {
        LineSpec line;
        const auto read = [&](const std::optional<std::string_view> &text, Operand operand) {
            if (!given(text))
                return 0.0;
            const double value = number(*text, operand);
            if (!(value >= 0.0) || !std::isfinite(value))
                throw SizingFailure(Problem::OutOfRange, operand);
            return value + 0.0;
        };
        line.length = read(r.length, Operand::Length);
        line.fittings = read(r.fittings, Operand::Fittings);
        line.equivalentLength = read(r.equivalentLength, Operand::EquivalentLength);
        return line;
    });
}

// The allowable-drop method: up the series from its smallest size, the first that runs no
// faster than its usual range and loses no more than the limit.
void Sizer::sizeByDrop(double maxDrop, const std::optional<LineSpec> &line, double roughness)
{
    PipeAdvice &advice = m_report.advice;
    advice.maxDrop = maxDrop;
    advice.maxDropOverLine = line.has_value();
    const AdviceOptions &options = advice.options;
    for (const PipeSize &size : pipeTable(options.series)) {
        if (size.dn == 90 && !options.allSizes)
            continue;
        const double velocity = realVelocity(m_report.aidFlow, size);
        const VelocityBand &usual = usualBand(m_medium, size.dn, options.service);
        const VelocityCheck check = checkVelocity(velocity, usual.range);
        if (check == VelocityCheck::Above)
            continue;
        try {
            const PressureDrop drop
                = pressureDrop(*m_fluid, m_report.aidFlow, size.bore, roughness);
            double kPa = drop.kPaPer100m;
            if (line) {
                const LineDrop over = lineDrop(*m_fluid, m_medium != Medium::Water, drop.friction,
                                               m_report.aidFlow, size.bore, *line);
                if (over.method == DropMethod::Choked)
                    continue;
                kPa = over.kPa;
            }
            if (kPa <= maxDrop) {
                advice.byDrop = SizeCheck {size, velocity, &usual, check};
                return;
            }
        } catch (const SizingFailure &) {
            // No drop for this size (its Reynolds number out of range, a wall too rough): the
            // next may have one.
        }
    }
}

void Sizer::run()
{
    if (m_medium == Medium::Air) {
        m_report.error = airPrompts(textOf(m_request.flow), textOf(m_request.pressure));
        if (!m_report.error.empty())
            return;
    }
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
    const std::string error = failureMessage(m_medium, failure);
    m_report.reset();
    m_report.error = error;
    m_report.errorInput = failure.operand();
}

} // namespace

namespace {

// A request's texts and where a KeptRequest keeps each: one list, so that keeping a request
// and taking it back can never miss an input the other has.
struct KeptText
{
    std::optional<std::string_view> SizingRequest::*view;
    std::optional<std::string> KeptRequest::*kept;
};
constexpr KeptText keptTexts[] = {
    {&SizingRequest::flow, &KeptRequest::flow},
    {&SizingRequest::pressure, &KeptRequest::pressure},
    {&SizingRequest::temperature, &KeptRequest::temperature},
    {&SizingRequest::specificVolume, &KeptRequest::specificVolume},
    {&SizingRequest::velocity, &KeptRequest::velocity},
    {&SizingRequest::steamPressure, &KeptRequest::steamPressure},
    {&SizingRequest::steamTemperature, &KeptRequest::steamTemperature},
    {&SizingRequest::roughness, &KeptRequest::roughness},
    {&SizingRequest::length, &KeptRequest::length},
    {&SizingRequest::fittings, &KeptRequest::fittings},
    {&SizingRequest::equivalentLength, &KeptRequest::equivalentLength},
    {&SizingRequest::maxDrop, &KeptRequest::maxDrop},
};

} // namespace

KeptRequest::KeptRequest(const SizingRequest &request)
    : medium(request.medium)
    , pressureKind(request.pressureKind)
    , flowBasis(request.flowBasis)
    , advice(request.advice)
    , decimalSeparator(request.decimalSeparator)
{
    for (const KeptText &text : keptTexts) {
        if (const std::optional<std::string_view> &given = request.*(text.view))
            this->*(text.kept) = std::string(*given);
    }
}

SizingRequest KeptRequest::request() const
{
    SizingRequest request;
    request.medium = medium;
    for (const KeptText &text : keptTexts) {
        if (const std::optional<std::string> &kept = this->*(text.kept))
            request.*(text.view) = *kept;
    }
    request.pressureKind = pressureKind;
    request.flowBasis = flowBasis;
    request.advice = advice;
    request.decimalSeparator = decimalSeparator;
    return request;
}

void SizingReport::reset()
{
    ok = false;
    diameter = 0.0;
    text.clear();
    error.clear();
    errorInput = Operand::None;
    specificVolume.reset();
    absolutePressure.reset();
    standardFlow.reset();
    renew(steps); // in place: an assigned {} is a slow fill of its 88 bytes
    aidFlow = 0.0;
    renew(advice);
    fluid.reset();
    drop.reset();
    line.reset();
    lineDrop.reset();
    dropNote.clear();
    lineNote.clear();
    basis.clear();
    dropCondition.clear();
}

std::string SizingReport::adviceText() const
{
    std::string text = tovrik::adviceText(advice);
    if (!basis.empty()) {
        text += '\n';
        text += basis;
    }
    if (drop) {
        text += '\n';
        text += pressureDropText(*drop, dropCondition);
        if (lineDrop) {
            text += '\n';
            text += lineDropText(*lineDrop, *line);
        }
    } else if (!dropNote.empty() && advice.status == PipeAdvice::Status::Sized) {
        text += "\n无法估算压降：";
        text += dropNote;
    }
    if (!lineNote.empty() && advice.status == PipeAdvice::Status::Sized) {
        text += "\n全线压降和允许压降未计：";
        text += lineNote;
    }
    return text;
}

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

void sizePipe(const SizingRequest &request, SizingReport &report)
{
    report.reset();
    Sizer(request, report).run();
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
