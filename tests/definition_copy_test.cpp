// The definition-file copy on a real file system, on every platform (under Wine for
// Windows): byte for byte, never over an existing file, nothing made from nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/definition_copy_fixture.h"

namespace {

namespace fs = std::filesystem;
using repair::platform::CopyFileFailIfExists;
using support::ReadFile;
using support::Utf8;
using support::WriteFile;

using DefinitionCopy = support::DefinitionCopyFixture;

TEST_F(DefinitionCopy, CopiesByteForByte) {
  EXPECT_TRUE(CopyFileFailIfExists(Utf8(source_), Utf8(target_)));
  EXPECT_EQ(ReadFile(target_), content_);
}

TEST_F(DefinitionCopy, NeverReplacesAnExistingTarget) {
  WriteFile(target_, "the server's own definition");
  EXPECT_FALSE(CopyFileFailIfExists(Utf8(source_), Utf8(target_)));
  EXPECT_EQ(ReadFile(target_), "the server's own definition");
}

TEST_F(DefinitionCopy, CreatesNothingWithoutASource) {
  struct Case {
    const char* what;
    fs::path source;
    fs::path target;
  };
  fs::create_directory(folder_.path() / "a-folder");
  const Case cases[] = {
      {"missing source", folder_.path() / "missing.frm", target_},
      {"source is a folder", folder_.path() / "a-folder", target_},
      {"missing target folder", source_, folder_.path() / "missing" / "unique_no.frm"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(CopyFileFailIfExists(Utf8(c.source), Utf8(c.target))) << c.what;
    EXPECT_FALSE(fs::exists(c.target)) << c.what;
  }
}

// Operators install the program in folders with Chinese names; paths are UTF-8.
TEST_F(DefinitionCopy, FindsFoldersWithChineseNames) {
  const fs::path folder = folder_.path() / support::PathFromUtf8("工具");
  fs::create_directory(folder);
  const fs::path source = folder / "brda.frm";
  WriteFile(source, content_);
  EXPECT_TRUE(CopyFileFailIfExists(Utf8(source), Utf8(folder / "unique_no.frm")));
  EXPECT_EQ(ReadFile(folder / "unique_no.frm"), content_);
}

}  // namespace
