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

// Writes far beyond the stream's buffer fail long before the last flush;
// the message still gives the system's reason.
TEST(AtomicOutput, AFullDeviceIsAnErrorWithItsReason) {
  for (const size_t size : {size_t{10}, size_t{1} << 20}) {
    AtomicOutput out("/dev/full");
    out.write(std::string(size, 'x'));
    try {
      out.commit();
      ADD_FAILURE() << "a write to /dev/full succeeded";
    } catch (const common::ToolError &e) {
      EXPECT_STREQ(e.what(), "cannot write /dev/full: No space left on device");
    }
  }
}

TEST(AtomicOutput, AnUnwritableFolderIsAnErrorAtOpen) {
  TempDir dir;
  EXPECT_THROW(AtomicOutput(dir.file("no/such/folder")), common::ToolError);
}

}  // namespace
