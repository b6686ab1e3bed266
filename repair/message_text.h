#pragma once

#include <string>

namespace repair {

// An error message as the operator reads it: a "." is appended when the last
// character's code lies above that of "." (so after a letter, a digit or a CJK
// character, but not after ")", "!" or "."). An empty message stays empty.
std::string WithFullStop(std::string message);

}  // namespace repair
