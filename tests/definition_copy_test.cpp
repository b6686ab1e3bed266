// The definition-file copy on a real file system. POSIX-only: it plants links and
// limits the file size to make a copy fail part-way.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "platform.h"
#include "support/files.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using repair::platform::CopyFileFailIfExists;

using support::ReadFile;
using support::WriteFile;

class DefinitionCopy : public ::testing::Test {
 protected:
  support::TempFolder folder_;
  fs::path source_ = folder_.path() / "brda.frm";
  fs::path target_ = folder_.path() / "unique_no.frm";
  // Binary content with NUL bytes and CR LF, larger than one copy buffer.
  std::string content_ = std::string("\xfe\x01\0\r\n", 5) + std::string(200'000, 'x') + "end";

  void SetUp() override { WriteFile(source_, content_); }
};

TEST_F(DefinitionCopy, CopiesByteForByte) {
  EXPECT_TRUE(CopyFileFailIfExists(source_.string(), target_.string()));
  EXPECT_EQ(ReadFile(target_), content_);
}

TEST_F(DefinitionCopy, NeverReplacesAnExistingTarget) {
  WriteFile(target_, "the server's own definition");
  EXPECT_FALSE(CopyFileFailIfExists(source_.string(), target_.string()));
  EXPECT_EQ(ReadFile(target_), "the server's own definition");
}

TEST_F(DefinitionCopy, DoesNotFollowALinkAtTheTarget) {
  const fs::path elsewhere = folder_.path() / "elsewhere.frm";
  WriteFile(elsewhere, "not to be touched");
  fs::create_symlink(elsewhere, target_);
  EXPECT_FALSE(CopyFileFailIfExists(source_.string(), target_.string()));
  EXPECT_EQ(ReadFile(elsewhere), "not to be touched");
  EXPECT_TRUE(fs::is_symlink(target_));

  // A dangling link is not followed either: nothing appears where it points.
  const fs::path nowhere = folder_.path() / "nowhere.frm";
  fs::remove(target_);
  fs::create_symlink(nowhere, target_);
  EXPECT_FALSE(CopyFileFailIfExists(source_.string(), target_.string()));
  EXPECT_FALSE(fs::exists(nowhere));
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
    EXPECT_FALSE(CopyFileFailIfExists(c.source.string(), c.target.string())) << c.what;
    EXPECT_FALSE(fs::exists(c.target)) << c.what;
  }
}

TEST_F(DefinitionCopy, LeavesNoPartialTargetWhenTheCopyFailsPartWay) {
  // Writes past 4 KiB fail with EFBIG instead of raising SIGXFSZ.
  auto* previous_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  rlimit small = previous;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

  const bool copied = CopyFileFailIfExists(source_.string(), target_.string());

  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previous_handler);
  EXPECT_FALSE(copied);
  EXPECT_FALSE(fs::exists(target_));
}

}  // namespace
