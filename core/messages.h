#pragma once

#include "core/failure.h"
#include "core/sizing.h"

#include <string>
#include <string_view>

namespace tovrik {

// What the air panel asks for when its flow or pressure field is empty. The first has a narrow
// comma, the second a full-width one, exactly as the users have always seen them.
inline constexpr std::string_view airFlowPrompt = "请输入正确的压缩空气体积流量,单位：m3/h。";
inline constexpr std::string_view airPressurePrompt = "请输入正确的设计压力，单位：MPa。";

// The input's description and symbol as its field's label shows it, e.g. "压缩空气设计流速v";
// empty for Operand::None or an input the medium does not have.
std::string_view inputDescription(Medium medium, Operand operand);

// A short Simplified Chinese sentence saying what is wrong and, where one input is at fault,
// which one. The window and the command-line sizer use the same words.
std::string failureMessage(Medium medium, const SizingFailure &failure);

} // namespace tovrik
