#pragma once

#include <string_view>

#include "repair_script.h"  // kRepairScript, generated from repair_script.sql

// The fixed values of a repair run: the application's database and the account the
// application installs, and the script that re-creates the table.
namespace repair {

inline constexpr std::string_view kDatabase = "velkarin";
inline constexpr std::string_view kUsername = "root";
inline constexpr std::string_view kPassword = "9746";

// The command-line program's defaults, the same as the window's presets.
inline constexpr std::string_view kDefaultHost = "127.0.0.1";
inline constexpr std::string_view kDefaultPortText = "3306";

// The port used when the port text is not a number.
inline constexpr int kFallbackPort = 3306;

}  // namespace repair
