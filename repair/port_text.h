#pragma once

#include <cstdint>
#include <string_view>

namespace repair {

// Reads the operator's port text as a signed 32-bit integer: leading blanks, an
// optional sign, then decimal digits or hexadecimal digits after "$", "x", "X", "0x"
// or "0X", and nothing after the digits. Anything else, and a decimal value outside
// the signed 32-bit range or a hexadecimal one wider than 32 bits, gives 3306.
// The number is returned as read, without a range check: the connection decides.
std::int32_t ReadPort(std::string_view text);

}  // namespace repair
