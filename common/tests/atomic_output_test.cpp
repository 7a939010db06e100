#include "atomic_output.h"
#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using common::AtomicOutput;
using common_test::TempDir;

size_t entries(const TempDir &dir) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path()),
                                           std::filesystem::directory_iterator()));
}

TEST(AtomicOutput, ReplacesTheTargetOnlyWhenCommitted) {
  TempDir dir;
  const std::string target = dir.file("out");
  common_test::writeFile(target, "old\n");
  {
    AtomicOutput out(target);
    out.write("new\n");
    EXPECT_EQ(common_test::readFile(target), "old\n");
    out.commit();
  }
  EXPECT_EQ(common_test::readFile(target), "new\n");
  EXPECT_EQ(entries(dir), 1u);
}

TEST(AtomicOutput, AnUncommittedOutputLeavesNothingBehind) {
  TempDir dir;
  const std::string target = dir.file("out");
  common_test::writeFile(target, "old\n");
  {
    AtomicOutput out(target);
    out.write("half");
  }
  EXPECT_EQ(common_test::readFile(target), "old\n");
  EXPECT_EQ(entries(dir), 1u);
}

TEST(AtomicOutput, KeepsThePermissionsOfTheFileItReplaces) {
  TempDir dir;
  const std::string target = dir.file("out");
  common_test::writeFile(target, "old\n");
  chmod(target.c_str(), 0640);
  AtomicOutput out(target);
  out.commit();
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicOutput, AFullDeviceIsAnError) {
  AtomicOutput out("/dev/full");
  out.write(std::string(1 << 16, 'x'));
  EXPECT_THROW(out.commit(), common::ToolError);
}

TEST(AtomicOutput, AnUnwritableFolderIsAnErrorAtOpen) {
  TempDir dir;
  EXPECT_THROW(AtomicOutput(dir.file("no/such/folder")), common::ToolError);
}

}  // namespace
