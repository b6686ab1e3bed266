#include "message_text.h"

namespace repair {

std::string WithFullStop(std::string message) {
  // In UTF-8 the last byte of a multi-byte character is at least 0x80, above "."
  // just as the character itself is, so looking at the last byte is enough.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

}  // namespace repair
