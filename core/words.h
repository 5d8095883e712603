#pragma once

#include "core/failure.h"
#include "core/inputs.h"
#include "core/pipeline.h"

#include <string>
#include <string_view>
#include <vector>

// What Tovrik says, in Simplified Chinese: every sentence of a failure, the advice, the basis of
// the aids and the pressure drop is made here from the facts of a report, once, for the
// window's tooltip and balloons, the command line, the line list's columns and the calculation
// sheet alike. The front ends add only their own hints (a command-line option, a menu item).
namespace tovrik {

// What the air panel asks for when its flow or pressure field is empty. The first has a narrow
// comma, the second a full-width one, exactly as the users have always seen them.
inline constexpr std::string_view airFlowPrompt = "请输入正确的压缩空气体积流量,单位：m3/h。";
inline constexpr std::string_view airPressurePrompt = "请输入正确的设计压力，单位：MPa。";

// 压缩空气, 蒸汽 or 水, as messages name a medium.
std::string_view mediumTitle(Medium medium);

// The input's description and symbol as its field's label shows it, e.g. "压缩空气设计流速v";
// empty for Operand::None or an input the medium does not have.
std::string_view inputDescription(Medium medium, Operand operand);
// What a column or option holds, in words: "蒸汽压力p".
std::string_view inputDescription(const InputDef &input);

// A short sentence saying what is wrong and, where one input is at fault, which one.
std::string failureMessage(Medium medium, const Reason &reason);
inline std::string failureMessage(Medium medium, const SizingFailure &failure)
{
    return failureMessage(medium, failure.reason());
}
// A name of a named input (service, series, gas, flow basis) that is not one of its names.
std::string unknownNameMessage(Input input, std::string_view name);

// "<2.0", "30~50": the usual velocities as the reference sheet writes them.
std::string rangeText(VelocityRange range);
// 偏低, 合适, 偏高.
const char *verdictText(VelocityCheck check);

// The advice's verdict as the window says it, for a list headed in Chinese: 偏低, 合适, 偏高, or
// 不作判断, 超出管子表, 不是气态, 按专门标准校核.
std::string_view statusWords(const PipeAdvice &advice);
// 按流速 or 按允许压降: how the recommended size was chosen.
std::string_view criterionWords(const PipeAdvice &advice);
// What the drop is for: the gas's name, 蒸汽 or 水.
std::string_view fluidWords(const SizingReport &report);

// The advice on the pipes: the one recommended, the other beside the diameter, the nearest in
// its usual range, and its notes, one to a line.
std::string pipeAdviceText(const PipeAdvice &advice);
// The notes after the pipes, each a sentence: no size in the range, none within the allowable
// drop, water too slow for any usual velocity.
std::vector<std::string> adviceNotes(const PipeAdvice &advice);
// Where the recommended bore is smaller than the diameter: "内径小于算得的 57.02 mm，实际流速
// 高于设计流速"; empty otherwise.
std::string smallerBoreNote(const PipeAdvice &advice);

// How the aids read the inputs: the pressure, the flow's basis, the steam's volume, the water's
// density. Empty where they say nothing more than the inputs.
std::string basisText(const SizingReport &report);
// "每 100 m 压降约 12.3 kPa（粗糙度 0.046 mm，空气）": to three figures, with what it assumes.
std::string pressureDropText(const SizingReport &report);
// "全线（管长 150 m，ΣK 6）压降约 23.4 kPa", with how it was found when not at constant density.
std::string lineDropText(const LineDrop &drop, const LineSpec &line);
// "提示：每 100 m 压降超过饱和蒸汽管道常用的 … kPa，…依据：…。" where the drop exceeds the usual
// largest of its service; empty otherwise.
std::string usualDropNote(const SizingReport &report);
// Why there is no pressure drop, or the line and its allowable drop were not read: empty when
// there is or they were.
std::string dropNote(const SizingReport &report);
std::string lineNote(const SizingReport &report);

// Why the aids miss a figure they would give, in a sentence or two: a line list's note.
std::string aidsNote(const SizingReport &report);

// All of it, as the window's tooltip and the command line's advice lines say it.
std::string reportText(const SizingReport &report);
// The whole of a calculation in words, as the command line prints it and the window's details
// show it: the result text, then the report, each line ended; a failure's message alone.
std::string detailsText(const SizingReport &report);

} // namespace tovrik
