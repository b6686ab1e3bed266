#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace support {

// A folder holding a source definition file, and the name the copy goes to.
class DefinitionCopyFixture : public ::testing::Test {
 protected:
  TempFolder folder_;
  std::filesystem::path source_ = folder_.path() / "brda.frm";
  std::filesystem::path target_ = folder_.path() / "unique_no.frm";
  // Binary content with NUL bytes and CR LF, larger than one copy buffer.
  std::string content_ = std::string("\xfe\x01\0\r\n", 5) + std::string(200'000, 'x') + "end";

  void SetUp() override { WriteFile(source_, content_); }
};

}  // namespace support
