// A private scratch directory that a test works in: the file code works on
// the current directory, so each test enters its own and leaves it after.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

class tempdirtest : public ::testing::Test {
protected:
  std::string home;
  std::string root;  // removed whole at the end
  std::string dir;   // root/work: a name that escapes upwards still lands in root

  void SetUp() override {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    home = cwd;
    char pattern[] = "/tmp/spanwright-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    dir = root + "/work";
    ASSERT_EQ(mkdir(dir.c_str(), 0777), 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
  }

  void TearDown() override {
    ASSERT_EQ(chdir(home.c_str()), 0);
    std::string command = "rm -rf '" + root + "'";
    ASSERT_EQ(system(command.c_str()), 0);
  }

  // The test must end where it started: the file functions leave every
  // directory they entered.
  std::string cwd() {
    char buffer[4096];
    return getcwd(buffer, sizeof(buffer)) ? buffer : "";
  }

  static void writebytes(const char *path, const std::vector<unsigned char> &bytes) {
    FILE *file = fopen(path, "wb");
    ASSERT_NE(file, nullptr) << path;
    if (!bytes.empty())
      fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
  }

  static std::vector<unsigned char> readbytes(const char *path) {
    std::vector<unsigned char> bytes;
    FILE *file = fopen(path, "rb");
    if (file == nullptr)
      return bytes;
    int c;
    while ((c = fgetc(file)) != EOF)
      bytes.push_back((unsigned char)c);
    fclose(file);
    return bytes;
  }

  static bool exists(const char *path) {
    struct stat status;
    return stat(path, &status) == 0;
  }
};
