#pragma once

#include <string>
#include <string_view>

namespace repair {

// How the platform writes paths: which characters end a folder name, and which one
// this program writes between folder names.
enum class PathStyle { Posix, Windows };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// The executable path up to and including its last separator ("/"; on Windows "\" or
// ":", whichever comes last); empty when the path has none.
std::string ProgramFolder(std::string_view executable_path,
                          PathStyle style = kNativePathStyle);

// The folder of the application's database in the server installed beside the
// program: <program folder>ValtuMySQL/data/velkarin/, ending in a separator.
std::string DatabaseFolder(std::string_view executable_path,
                           PathStyle style = kNativePathStyle);

// The definition file the repair copies, and the name it copies it to.
inline constexpr std::string_view kSourceDefinitionFile = "brda.frm";
inline constexpr std::string_view kTargetDefinitionFile = "unique_no.frm";

}  // namespace repair
