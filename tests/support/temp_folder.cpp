#include "temp_folder.h"

#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace support {

TempFolder::TempFolder() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = std::filesystem::temp_directory_path() /
                     ("unr-" + std::to_string(random() % 1'000'000'000u));
    if (std::filesystem::create_directory(candidate)) {
      path_ = std::filesystem::canonical(candidate);
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace support
