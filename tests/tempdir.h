// A private scratch directory that a test works in: the file code works on
// the current directory, so each test enters its own and leaves it after.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

class tempdirtest : public ::testing::Test {
protected:
  std::string home, root, dir; // root is removed whole; dir is root/work, so a name escaping upwards stays in root

  void SetUp() override {
    home = cwd();
    char pattern[] = "/tmp/spanwright-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern, dir = root + "/work";
    ASSERT_EQ(mkdir(dir.c_str(), 0777) + chdir(dir.c_str()), 0);
  }

  // Every test must end where it started: the file functions leave each
  // directory they entered.
  void TearDown() override {
    EXPECT_EQ(cwd(), dir);
    ASSERT_EQ(chdir(home.c_str()), 0);
    ASSERT_EQ(system(("rm -rf '" + root + "'").c_str()), 0);
  }

  static std::string cwd() { char buffer[4096]; return getcwd(buffer, sizeof(buffer)) ? buffer : ""; }

  // Bytes from and to a vector of unsigned char or a string.
  template <class T = std::string> static void writebytes(const char *path, const T &bytes) {
    ASSERT_TRUE(std::ofstream(path, std::ios::binary).write((const char *)bytes.data(), (long)bytes.size())) << path;
  }

  template <class T = std::vector<unsigned char>> static T readbytes(const char *path) {
    std::ifstream in(path, std::ios::binary);
    return T(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static bool exists(const char *path) { struct stat status; return stat(path, &status) == 0; }
};
