#include <gtest/gtest.h>

#include <cstring>

#include "shell/fileio.h"
#include "tempdir.h"
#include "world/levellist.h"

class LevelList : public tempdirtest {};

static std::vector<std::string> listed(int count) {
  std::vector<std::string> out(levellist, levellist + count);
  EXPECT_EQ(levellist[count][0], 0);
  return out;
}

static void choosepack(const char *name) { strcpy(dirlist[0], name), dirlist[1][0] = 0, dirnum = 0; }

TEST_F(LevelList, Lists) {
  std::string start = cwd();
  for (const char *d : {"level", "level/P", "level/Q", "bridge", "bridge/P"})
    mkdir(d, 0777);
  for (const char *f : {"level/P/b.qzl", "level/P/a.qzl", "level/P/c.lvl", "level/P/my.level.qzl", "level/Q/d.lvl",
                        "level/Q/c.lvl", "bridge/P/x.qzb", "bridge/P/x.brg", "bridge/P/a.brg", "bridge/P/y.qzb",
                        "level/top.qzl"})
    writebytes(f, {});
  // the current format hides the older one; "my.level.qzl" fails the pattern; only older files: they are listed;
  // bridges: current names sorted, then the older ones sorted, duplicates kept; a pack without a bridge
  // directory lists "bridge" itself, which holds no files; no pack lists "level" itself
  struct { const char *pack; int (*list)(); std::vector<std::string> want; } rows[] = {
      {"P", getlevellist, {"a", "b"}}, {"Q", getlevellist, {"c", "d"}}, {"", getlevellist, {"top"}},
      {"P", getbridgelist, {"x", "y", "a", "x"}}, {"Q", getbridgelist, {}}};
  for (const auto &r : rows) {
    choosepack(r.pack);
    EXPECT_EQ(listed(r.list()), r.want) << r.pack;
    EXPECT_EQ(cwd(), start);
  }
  // dirnum outside the list or past its end, an entry without its terminator, the last entry whatever it
  // holds, an entry past an empty one: no pack
  for (int i = 0; i < MAXNAMES; i++)
    strcpy(dirlist[i], "P");
  memset(dirlist[1], 'Q', NAMELENGTH);
  for (const auto &r : {std::pair<int, const char *>{0, "P"}, {1, ""}, {MAXNAMES - 1, ""}, {-1, ""}, {MAXNAMES, ""},
                        {1 << 30, ""}, {3, "P"}}) {
    dirnum = r.first;
    EXPECT_STREQ(getpackname(), r.second) << r.first;
  }
  dirlist[2][0] = 0;
  EXPECT_STREQ(getpackname(), "");
}

TEST_F(LevelList, Progress) {
  std::string start = cwd();
  mkdir("bridge", 0777), choosepack("Pack1");
  // What loading a progress file of these bytes leaves in the flags.
  auto progress = [](std::vector<unsigned char> file) {
    writebytes("bridge/Pack1.pro", file);
    memset(levelpassed, 0x55, sizeof(levelpassed));
    loadprogess();
    return std::vector<int>(levelpassed, levelpassed + MAXPROGRESS);
  };
  // written whole: 64 little-endian ints, 256 bytes; a longer file is read up to 64
  std::vector<int> some(MAXPROGRESS, 0), two(MAXPROGRESS, 0);
  some[0] = some[2] = some[63] = two[0] = two[1] = 1;
  std::copy(some.begin(), some.end(), levelpassed);
  ASSERT_EQ(saveprogess(), 1);
  std::vector<unsigned char> file = readbytes("bridge/Pack1.pro"), expected(256, 0);
  expected[0] = expected[8] = expected[252] = 1;
  EXPECT_EQ(file, expected);
  file.resize(1000, 1);
  EXPECT_EQ(progress(file), some);
  // a partial third int does not count
  EXPECT_EQ(progress({1, 0, 0, 0, 1, 0, 0, 0, 1, 0}), two);
  // no file, a pack name that would leave the directory, names up to the full entry width
  choosepack("Other");
  EXPECT_EQ(progress({}), std::vector<int>(MAXPROGRESS, 0));
  EXPECT_EQ((choosepack("../x"), saveprogess()), 0);
  std::string longest(NAMELENGTH - 1, 'p');
  ASSERT_EQ((choosepack(longest.c_str()), saveprogess()), 1);
  EXPECT_TRUE(exists(("bridge/" + longest + ".pro").c_str()));
  EXPECT_EQ(cwd(), start);
}
