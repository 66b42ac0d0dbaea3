#include <gtest/gtest.h>

#include <cstring>

#include "shell/fileio.h"
#include "tempdir.h"
#include "world/levellist.h"

class LevelList : public tempdirtest {};

static std::vector<std::string> listed(int count) {
  std::vector<std::string> out;
  for (int i = 0; i < count; i++)
    out.push_back(levellist[i]);
  EXPECT_EQ(levellist[count][0], 0);
  return out;
}

static void choosepack(const char *name) {
  strcpy(dirlist[0], name);
  dirlist[1][0] = 0;
  dirnum = 0;
}

TEST_F(LevelList, Lists) {
  std::string start = cwd();
  mkdir("level", 0777);
  mkdir("level/P", 0777);
  mkdir("level/Q", 0777);
  mkdir("bridge", 0777);
  mkdir("bridge/P", 0777);
  writebytes("level/P/b.qzl", {});
  writebytes("level/P/a.qzl", {});
  writebytes("level/P/c.lvl", {});
  writebytes("level/P/my.level.qzl", {});
  writebytes("level/Q/d.lvl", {});
  writebytes("level/Q/c.lvl", {});
  writebytes("bridge/P/x.qzb", {});
  writebytes("bridge/P/x.brg", {});
  writebytes("bridge/P/a.brg", {});
  writebytes("bridge/P/y.qzb", {});

  // the current format hides the older one; "my.level.qzl" fails the pattern
  choosepack("P");
  EXPECT_EQ(listed(getlevellist()), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(cwd(), start);
  // only older files: they are listed
  choosepack("Q");
  EXPECT_EQ(listed(getlevellist()), (std::vector<std::string>{"c", "d"}));
  // bridges: current names sorted, then the older ones sorted, duplicates kept
  choosepack("P");
  EXPECT_EQ(listed(getbridgelist()), (std::vector<std::string>{"x", "y", "a", "x"}));
  EXPECT_EQ(cwd(), start);
  // a pack without a bridge directory lists "bridge" itself, which holds no files
  choosepack("Q");
  EXPECT_EQ(getbridgelist(), 0);
  EXPECT_EQ(cwd(), start);

  // No pack: none listed, dirnum outside the list or past its end, a name
  // without its terminator. The pack name is empty and "level" is listed.
  writebytes("level/top.qzl", {});
  memset(dirlist, 0, sizeof dirlist);
  for (int n : {0, -1, 5, MAXNAMES, 1 << 30}) {
    dirnum = n;
    EXPECT_STREQ(getpackname(), "") << n;
    EXPECT_EQ(listed(getlevellist()), (std::vector<std::string>{"top"})) << n;
    EXPECT_EQ(cwd(), start);
  }
  for (int i = 0; i < MAXNAMES; i++)
    strcpy(dirlist[i], i == 2 ? "" : "P");
  const int stale[][2] = {{1, 1}, {3, 0}, {MAXNAMES - 1, 0}};
  for (const auto &r : stale) {
    dirnum = r[0];
    EXPECT_STREQ(getpackname(), r[1] ? "P" : "") << r[0];
  }
  strcpy(dirlist[2], "P");
  EXPECT_STREQ(getpackname(), "");  // the last entry stays empty, whatever it holds
  dirnum = 1;
  memset(dirlist[1], 'Q', NAMELENGTH);
  EXPECT_STREQ(getpackname(), "");
}

TEST_F(LevelList, Progress) {
  std::string start = cwd();
  mkdir("bridge", 0777);
  choosepack("Pack1");
  // written whole: 64 little-endian ints, 256 bytes
  memset(levelpassed, 0, sizeof(levelpassed));
  levelpassed[0] = 1;
  levelpassed[2] = 1;
  levelpassed[63] = 1;
  ASSERT_EQ(saveprogess(), 1);
  EXPECT_EQ(cwd(), start);
  std::vector<unsigned char> bytes = readbytes("bridge/Pack1.pro");
  ASSERT_EQ(bytes.size(), 256u);
  std::vector<unsigned char> expected(256, 0);
  expected[0] = expected[8] = expected[252] = 1;
  EXPECT_EQ(bytes, expected);
  memset(levelpassed, 0x55, sizeof(levelpassed));
  loadprogess();
  EXPECT_EQ(levelpassed[0], 1);
  EXPECT_EQ(levelpassed[1], 0);
  EXPECT_EQ(levelpassed[2], 1);
  EXPECT_EQ(levelpassed[63], 1);

  // a file of 8 bytes sets two flags; a partial third int does not count
  writebytes("bridge/Pack1.pro", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0});
  loadprogess();
  EXPECT_EQ(levelpassed[0], 1);
  EXPECT_EQ(levelpassed[1], 1);
  for (int i = 2; i < MAXPROGRESS; i++)
    ASSERT_EQ(levelpassed[i], 0) << i;
  // a longer file: only the first 64 ints are read
  writebytes("bridge/Pack1.pro", std::vector<unsigned char>(1000, 0));
  loadprogess();
  EXPECT_EQ(levelpassed[0], 0);
  // no file: nothing passed
  choosepack("Other");
  levelpassed[5] = 1;
  loadprogess();
  EXPECT_EQ(levelpassed[5], 0);

  // a pack name that would leave the directory gets no progress file
  choosepack("../x");
  EXPECT_EQ(saveprogess(), 0);
  EXPECT_EQ(cwd(), start);
  // pack names up to the full entry width keep their progress
  std::string longest(NAMELENGTH - 1, 'p');
  choosepack(longest.c_str());
  levelpassed[1] = 1;
  ASSERT_EQ(saveprogess(), 1);
  EXPECT_TRUE(exists(("bridge/" + longest + ".pro").c_str()));
  levelpassed[1] = 0;
  loadprogess();
  EXPECT_EQ(levelpassed[1], 1);
  EXPECT_EQ(cwd(), start);
}
