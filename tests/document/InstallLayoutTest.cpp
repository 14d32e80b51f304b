#include "document/InstallLayout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vorel {
namespace {

namespace fs = std::filesystem;

class InstallLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = fs::temp_directory_path() /
              ("vorel-layout-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(prefix_);
    fs::create_directories(prefix_ / "bin");
  }
  void TearDown() override { fs::remove_all(prefix_); }
  fs::path prefix_;
};

TEST_F(InstallLayoutTest, AnInstalledProgramFindsItsSharedFiles) {
  fs::create_directories(prefix_ / "share" / "vorel" / "examples");
  fs::create_directories(prefix_ / "share" / "vorel" / "docs");
  std::ofstream(prefix_ / "share" / "vorel" / "docs" / "user-guide.md") << "# Guide\n";
  for (const std::string& bin : {(prefix_ / "bin").string(), (prefix_ / "bin").string() + "/"}) {
    EXPECT_EQ(fs::path(BundledExamplesFolder(bin)), prefix_ / "share" / "vorel" / "examples") << bin;
    EXPECT_EQ(fs::path(UserGuideFile(bin)), prefix_ / "share" / "vorel" / "docs" / "user-guide.md");
  }
}

TEST_F(InstallLayoutTest, AProgramOutsideAnInstallationTakesTheSourceTree) {
  // No share/vorel beside this bin folder: the build folder's case.
  EXPECT_TRUE(fs::equivalent(BundledExamplesFolder((prefix_ / "bin").string()), VOREL_EXAMPLES_DIR));
  EXPECT_TRUE(fs::equivalent(BundledExamplesFolder(""), VOREL_EXAMPLES_DIR));
  // A file named like the folder does not count.
  fs::create_directories(prefix_ / "share" / "vorel");
  std::ofstream(prefix_ / "share" / "vorel" / "examples") << "not a folder\n";
  EXPECT_TRUE(fs::equivalent(BundledExamplesFolder((prefix_ / "bin").string()), VOREL_EXAMPLES_DIR));
}

}  // namespace
}  // namespace vorel
