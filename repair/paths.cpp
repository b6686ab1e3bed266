#include "paths.h"

#include "repair_settings.h"

namespace repair {

std::string ProgramFolder(std::string_view executable_path, PathStyle style) {
  const std::string_view separators = style == PathStyle::Windows ? "\\:" : "/";
  const auto last = executable_path.find_last_of(separators);
  if (last == std::string_view::npos) return {};
  return std::string(executable_path.substr(0, last + 1));
}

std::string DatabaseFolder(std::string_view executable_path, PathStyle style) {
  const char separator = style == PathStyle::Windows ? '\\' : '/';
  std::string folder = ProgramFolder(executable_path, style);
  for (std::string_view name : {std::string_view("ValtuMySQL"), std::string_view("data"), kDatabase}) {
    folder += name;
    folder += separator;
  }
  return folder;
}

}  // namespace repair
