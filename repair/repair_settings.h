#pragma once

#include <string_view>

// The fixed values of a repair run: the application's database and the account the
// application installs, and the script that re-creates the table.
namespace repair {

inline constexpr std::string_view kDatabase = "velkarin";
inline constexpr std::string_view kUsername = "root";
inline constexpr std::string_view kPassword = "9746";

// Preset in both front ends' host and port fields.
inline constexpr std::string_view kDefaultHost = "127.0.0.1";
inline constexpr std::string_view kDefaultPortText = "3306";

// The port used when the port text is not a number.
inline constexpr int kFallbackPort = 3306;

// Six lines, each ended by CR LF, sent to the server as one request. The counter
// starts at 55723 because the application's numbers below it are already issued.
inline constexpr std::string_view kRepairScript =
    "DROP TABLE IF EXISTS `unique_no`;\r\n"
    "CREATE TABLE `unique_no` (\r\n"
    "  `id` varchar(32) NOT NULL,\r\n"
    "  `unique_no` bigint(20) NOT NULL AUTO_INCREMENT,\r\n"
    "  PRIMARY KEY (`unique_no`)\r\n"
    ") ENGINE=InnoDB AUTO_INCREMENT=55723 DEFAULT CHARSET=latin1;\r\n";

}  // namespace repair
