// Scratch files for the tests, removed with their directory at the end.
#ifndef SMOOTH_TEST_FILES_H
#define SMOOTH_TEST_FILES_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class ScratchDir : public ::testing::Test {
protected:
  void SetUp() override {
    const char *tmpdir = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/smooth_test_XXXXXX";
    ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    const std::string cmd = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
  }
  std::string path(const std::string &name) const { return dir_ + "/" + name; }
  std::string write_file(const std::string &name, const std::string &content) const {
    std::ofstream(path(name), std::ios::binary) << content;
    return path(name);
  }
  static std::string read_file(const std::string &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static bool exists(const std::string &p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0;
  }

private:
  std::string dir_;
};

#endif
