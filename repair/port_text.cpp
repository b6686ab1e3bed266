#include "port_text.h"

#include <optional>

#include "repair_settings.h"

namespace repair {
namespace {

std::optional<unsigned> DigitValue(char c, unsigned base) {
  unsigned value = 0;
  if (c >= '0' && c <= '9') {
    value = static_cast<unsigned>(c - '0');
  } else if (base == 16 && c >= 'a' && c <= 'f') {
    value = static_cast<unsigned>(c - 'a' + 10);
  } else if (base == 16 && c >= 'A' && c <= 'F') {
    value = static_cast<unsigned>(c - 'A' + 10);
  } else {
    return std::nullopt;
  }
  return value;
}

// Reads all of `digits` (at least one) in `base`; nullopt past `limit`.
std::optional<std::uint64_t> ReadDigits(std::string_view digits, unsigned base,
                                        std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const auto digit = DigitValue(c, base);
    if (!digit) return std::nullopt;
    value = value * base + *digit;
    if (value > limit) return std::nullopt;
  }
  return value;
}

std::optional<std::int32_t> ParsePort(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);

  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  unsigned base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
    base = 16;
    text.remove_prefix(1);
  }

  if (base == 16) {
    // All 32 bits may be used: "$FFFFFFFF" is -1, and a sign negates modulo 2^32.
    const auto value = ReadDigits(text, 16, 0xFFFFFFFFu);
    if (!value) return std::nullopt;
    auto bits = static_cast<std::uint32_t>(*value);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }

  // Decimal: the magnitude may reach 2^31 only for a negative number.
  const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
  const auto value = ReadDigits(text, 10, limit);
  if (!value) return std::nullopt;
  const auto signed_value = static_cast<std::int64_t>(*value);
  return static_cast<std::int32_t>(negative ? -signed_value : signed_value);
}

}  // namespace

std::int32_t ReadPort(std::string_view text) {
  return ParsePort(text).value_or(kFallbackPort);
}

}  // namespace repair
