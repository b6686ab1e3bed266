#pragma once

#include <string>
#include <string_view>

namespace repair {

// What both front ends tell the operator when a repair has run.
inline constexpr std::string_view kCompletionMessage = "修复完成！";

// An error message as the operator reads it: a "." is appended when the last
// character's code lies above that of "." (so after a letter, a digit or a CJK
// character, but not after ")", "!" or "."). An empty message stays empty.
std::string WithFullStop(std::string message);

}  // namespace repair
