#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "shell/fileio.h"
#include "tempdir.h"
#include "world/level.h"
#include "world/levelfile.h"
#include "world/levellist.h"
#include "geometry/hash.h"
#include "screens/playerbridge.h"

class LevelList : public tempdirtest {};

static std::vector<std::string> listed(int count) {
  std::vector<std::string> out(levellist, levellist + count);
  EXPECT_EQ(levellist[count][0], 0);
  return out;
}

static void choosepack(const char *name) { strcpy(dirlist[0], name), dirlist[1][0] = 0, dirnum = 0; }

TEST_F(LevelList, ListsPacksProgressAndLooks) {
  for (const char *d : {"level", "level/P", "level/Q", "level/R", "bridge", "bridge/P", "bridge/R"})
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
  for (const auto &r : rows)
    EXPECT_EQ((choosepack(r.pack), listed(r.list())), r.want) << r.pack;
  // dirnum outside the list or past its end, an entry without its terminator, the last entry whatever it
  // holds, an entry past an empty one: no pack; the one before the last is a pack
  for (int i = 0; i < MAXNAMES; i++)
    strcpy(dirlist[i], "P");
  memset(dirlist[1], 'Q', NAMELENGTH);
  for (const auto &r : {std::pair<int, const char *>{0, "P"}, {1, ""}, {MAXNAMES - 2, "P"}, {MAXNAMES - 1, ""},
                        {-1, ""}, {MAXNAMES, ""}, {1 << 30, ""}, {3, "P"}})
    EXPECT_STREQ((dirnum = r.first, getpackname()), r.second) << r.first;
  dirlist[2][0] = 0;
  EXPECT_STREQ(getpackname(), "");
  // Progress is written whole, 64 little-endian ints, under the longest pack name an entry holds.
  std::string longest(NAMELENGTH - 1, 'p'), path = "bridge/" + longest + ".pro", file(256, 0);
  choosepack(longest.c_str());
  std::fill(levelpassed, levelpassed + MAXPROGRESS, 0);
  levelpassed[0] = levelpassed[2] = levelpassed[63] = 1;
  ASSERT_EQ(saveprogess(), 1);
  file[0] = file[8] = file[252] = 1;
  EXPECT_EQ(readbytes<std::string>(path.c_str()), file);
  // (how any file's bytes become the flags, short or long, is the progress fuzz target's check; that a
  // level another copy passed since the file was read stays passed is the two-copies window test's)
  // a pack name that would leave the directory
  EXPECT_EQ((choosepack("../x"), saveprogess()), 0);

  // The looks of a pack's levels, in pack R.
  choosepack("R");
  createlevel(), numofjoints = numofbeams = 0;
  for (const char *name : {"01 a", "03 c", "04 d"})
    ASSERT_EQ(chdir("level/R") + savelevel(name, 0) + chdir("../.."), 1);
  writebytes("level/R/00readme", std::string("notes\n"));
  writebytes("level/R/02 b.qzl", std::string("SPNW\5\0\0\0", 8));
  ASSERT_EQ(getlevellist(), 5);
  checklevellist(5);
  // Names that load as no level lock nothing: 01 a opens behind 00readme, 03 c follows 01 a across 02 b;
  // passed shows, and a flag at an unreadable position does not make it playable.
  struct { std::vector<int> passed; std::vector<int> want; } looks[] = {
      {{0, 0, 0, 0, 0}, {LEVEL_UNREADABLE, LEVEL_OPEN, LEVEL_UNREADABLE, LEVEL_LOCKED, LEVEL_LOCKED}},
      {{1, 1, 1, 0, 0}, {LEVEL_UNREADABLE, LEVEL_PASSED, LEVEL_UNREADABLE, LEVEL_OPEN, LEVEL_LOCKED}},
      {{0, 0, 0, 1, 0}, {LEVEL_UNREADABLE, LEVEL_OPEN, LEVEL_UNREADABLE, LEVEL_PASSED, LEVEL_OPEN}}};
  for (const auto &r : looks) {
    std::fill(levelpassed, levelpassed + MAXPROGRESS, 0), std::copy(r.passed.begin(), r.passed.end(), levelpassed);
    EXPECT_EQ(std::vector<int>({getlevellook(0), getlevellook(1), getlevellook(2), getlevellook(3), getlevellook(4)}),
              r.want) << r.passed[1] << r.passed[3];
  }

  // A changed bridge moves a file that does not load aside first, never over an earlier one. (Kept as it
  // is while nothing changes: the player data window test.)
  const std::string bad("SPNW\5\0\0\0 and the rest", 20);
  writebytes("bridge/R/x.qzb", bad), writebytes("bridge/R/x.unreadable", std::string("earlier"));
  createlevel(), numofjoints = numofbeams = 0;
  ASSERT_EQ(loadplayerbridge("x"), BRIDGE_UNREADABLE);
  uint64_t loaded = hashbridge(HASHSTART);
  joint[numofjoints++] = {1, {1000, 40}};
  EXPECT_EQ(saveplayerbridge("x", BRIDGE_UNREADABLE, loaded), 1);
  EXPECT_EQ(readbytes<std::string>("bridge/R/x.unreadable-2"), bad);
  EXPECT_EQ(readbytes<std::string>("bridge/R/x.unreadable"), "earlier");
  // (That the saved bridge loads is the player data window test's; that a level without a bridge file is
  // saved when left unchanged, the menus window test's.)
}
