// The definition-file copy where POSIX lets a test plant links and make a copy fail
// part-way.
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "support/definition_copy_fixture.h"

namespace {

namespace fs = std::filesystem;
using repair::platform::CopyFileFailIfExists;
using support::ReadFile;
using support::WriteFile;

using DefinitionCopy = support::DefinitionCopyFixture;

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
