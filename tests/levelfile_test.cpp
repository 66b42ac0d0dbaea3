#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "shell/fileio.h"
#include "tempdir.h"
#include "world/level.h"
#include "world/levelfile.h"

class LevelFile : public tempdirtest {};

// Little-endian byte image built field by field, independent of the writer.
struct image {
  std::vector<unsigned char> bytes;
  image &i(int v) {
    for (int k = 0; k < 4; k++)
      bytes.push_back((unsigned char)((unsigned)v >> (8 * k)));
    return *this;
  }
  image &f(float v) {
    unsigned u;
    memcpy(&u, &v, 4);
    return i((int)u);
  }
  image &magic() {
    for (char c : {'S', 'P', 'N', 'W'})
      bytes.push_back((unsigned char)c);
    return *this;
  }
};

// A recognisable bridge: sloped terrain, a few joints and beams.
static void makebridge(int joints) {
  createlevel();
  for (int t = 0; t < NUMTERRAIN; t++)
    level.terrain[t] = 0.25f * (float)t - 3.0f;
  level.budget = 12345;
  level.weight = 50000;
  level.trainstart = 2;
  level.manualdeck = 1;
  level.traintime = 7;
  numofjoints = joints;
  for (int j = 0; j < joints; j++) {
    joint[j].type = j < 2 ? 0 : 1;
    joint[j].pos = {992.0f + 2.0f * (float)j, 32.0f + 0.5f * (float)(j % 7)};
  }
  numofbeams = 0;
  for (int j = 1; j < joints; j++)
    beam[numofbeams++] = {j % 2, j - 1, j, 0, 0, 0.0f};
}

// Everything a load could change, for byte-wise comparison.
struct snapshot {
  levelinfo l;
  std::vector<unsigned char> joints, beams;
  int nj, nb;
  snapshot() : l(level), nj(numofjoints), nb(numofbeams) {
    joints.assign((unsigned char *)joint, (unsigned char *)joint + sizeof(joint));
    beams.assign((unsigned char *)beam, (unsigned char *)beam + sizeof(beam));
  }
  bool operator==(const snapshot &o) const {
    return memcmp(&l, &o.l, sizeof(l)) == 0 && nj == o.nj && nb == o.nb &&
           joints == o.joints && beams == o.beams;
  }
};

TEST_F(LevelFile, RoundTripAndBytes) {
  // a level without a single joint loads like any other
  makebridge(0);
  ASSERT_EQ(savelevel("empty", 0), 1);
  numofjoints = 3;
  EXPECT_EQ(loadlevel("empty", 0), 1);
  EXPECT_EQ(numofjoints, 0);
  makebridge(40);
  beam[3].hover = 1;
  beam[3].stress = 0.75f;
  snapshot saved;
  ASSERT_EQ(savelevel("b1", 1), 1);
  std::vector<unsigned char> file = readbytes("b1.qzb");
  ASSERT_EQ(file.size(), 2100u + 12 * 40 + 12 * 39);
  // header and first fields as literal little-endian bytes
  image head;
  head.magic().i(4).f(32.0f).f(24.0f).f(992.0f).f(1056.0f).i(12345).i(50000).i(2).i(1).i(7);
  EXPECT_TRUE(std::equal(head.bytes.begin(), head.bytes.end(), file.begin()));
  EXPECT_EQ(file[2092], 40);
  image firstjoint;
  firstjoint.i(0).f(992.0f).f(32.0f);
  EXPECT_TRUE(std::equal(firstjoint.bytes.begin(), firstjoint.bytes.end(), file.begin() + 2096));

  // loading over different tables reproduces level, joints and beams exactly
  createlevel();
  numofjoints = 3;
  numofbeams = 0;
  ASSERT_EQ(loadlevel("b1", 1), 1);
  EXPECT_TRUE(snapshot() == saved);
  // hover and stress are not in the file: the table keeps what it held
  EXPECT_EQ(beam[3].hover, 1);
  EXPECT_EQ(beam[3].stress, 0.75f);

  // a level file is the same format under its own extension
  ASSERT_EQ(savelevel("l1", 0), 1);
  EXPECT_EQ(readbytes("l1.qzl"), file);
  EXPECT_EQ(loadlevel("l1", 1), 0); // no l1.qzb
  EXPECT_EQ(loadlevel("l1", 0), 1);

  // a full table survives the trip
  makebridge(MAXJOINTS - 1);
  snapshot full;
  ASSERT_EQ(savelevel("big", 1), 1);
  numofjoints = numofbeams = 0;
  ASSERT_EQ(loadlevel("big", 1), 1);
  EXPECT_TRUE(snapshot() == full);
}

TEST_F(LevelFile, OlderVersions) {
  for (int version = 1; version <= 3; version++) {
    image v;
    v.magic().i(version).f(30.0f).f(20.0f).f(100.0f).f(200.0f).i(900);
    if (version >= 2)
      v.i(60000);
    if (version >= 3)
      v.i(1).i(1).i(9);
    for (int t = 0; t < 256; t++)
      v.f((float)t);
    v.i(2).i(0).f(100.0f).f(30.0f).i(-99).i(1).f(110.0f).f(31.0f).i(-99);
    v.i(1).i(1).i(0).i(1);
    writebytes("old.qzl", v.bytes);
    ASSERT_EQ(loadlevel("old", 0), 1) << "version " << version;
    // ends and joint x move 512 right; the stored terrain lands in columns 128-383
    EXPECT_EQ(level.deckheight, 30.0f);
    EXPECT_EQ(level.waterlevel, 20.0f);
    EXPECT_EQ(level.leftend, 612.0f);
    EXPECT_EQ(level.rightend, 712.0f);
    EXPECT_EQ(level.budget, 900);
    EXPECT_EQ(level.weight, version >= 2 ? 60000 : 40000);
    EXPECT_EQ(level.trainstart, version >= 3 ? 1 : 0);
    EXPECT_EQ(level.manualdeck, version >= 3 ? 1 : 0);
    EXPECT_EQ(level.traintime, version >= 3 ? 9 : 0);
    EXPECT_EQ(level.terrain[127], 0.0f);
    EXPECT_EQ(level.terrain[129], 1.0f);
    EXPECT_EQ(level.terrain[383], 255.0f);
    EXPECT_EQ(level.terrain[384], 0.0f);
    ASSERT_EQ(numofjoints, 2);
    EXPECT_EQ(joint[0].type, 0);
    EXPECT_EQ(joint[0].pos.x, 612.0f);
    EXPECT_EQ(joint[1].pos.x, 622.0f);
    EXPECT_EQ(joint[1].pos.y, 31.0f);
    ASSERT_EQ(numofbeams, 1);
    EXPECT_EQ(beam[0].type, 1);
    EXPECT_EQ(beam[0].joint1, 0);
    EXPECT_EQ(beam[0].joint2, 1);
  }
}

static image oldfile(bool bridge) {
  image v;
  if (bridge)
    v.i(1);
  v.f(20.0f).f(30.0f).i(700).f(2000.0f).f(2100.0f);
  for (int k = 0; k < 1024; k++)
    v.f(k == 300 ? 40.0f : (float)(k % 50));
  v.i(2);
  v.i(2).f(1100.0f).f(30.0f);
  for (int k = 0; k < 20; k++)
    v.i(k);
  v.i(5).f(1110.0f).f(31.0f);
  for (int k = 0; k < 20; k++)
    v.i(-1);
  if (bridge)
    v.i(1).i(77).i(1).i(0).i(2).i(0).i(0);
  return v;
}

TEST_F(LevelFile, OldFormat) {
  makebridge(10);
  writebytes("o.lvl", oldfile(false).bytes);
  ASSERT_EQ(loadoldlevel("o", 0), 1);
  EXPECT_EQ(level.waterlevel, 20.0f);
  EXPECT_EQ(level.deckheight, 30.0f);
  EXPECT_EQ(level.budget, 700);
  EXPECT_EQ(level.leftend, 976.0f);
  EXPECT_EQ(level.rightend, 1076.0f);
  EXPECT_EQ(level.weight, 40000);
  EXPECT_EQ(level.trainstart, 0);
  EXPECT_EQ(level.manualdeck, 0);
  // old column 300 is column 44; the outer columns are dropped
  EXPECT_EQ(level.terrain[44], 40.0f);
  EXPECT_EQ(level.terrain[0], (float)(256 % 50));
  EXPECT_EQ(level.terrain[511], (float)(767 % 50));
  // kind 2 is an anchor, anything else free; x moves 1024 left
  ASSERT_EQ(numofjoints, 2);
  EXPECT_EQ(joint[0].type, 0);
  EXPECT_EQ(joint[0].pos.x, 76.0f);
  EXPECT_EQ(joint[1].type, 1);
  EXPECT_EQ(joint[1].pos.x, 86.0f);
  // a level file has no beams: the previous ones are dropped
  EXPECT_EQ(numofbeams, 0);

  writebytes("o.brg", oldfile(true).bytes);
  ASSERT_EQ(loadoldlevel("o", 1), 1);
  ASSERT_EQ(numofbeams, 1);
  EXPECT_EQ(beam[0].type, 1); // kind word 2: deck
  EXPECT_EQ(beam[0].joint1, 1);
  EXPECT_EQ(beam[0].joint2, 0);

  // a bridge whose first word is not 1 is ignored entirely
  image bad = oldfile(true);
  bad.bytes[0] = 0;
  writebytes("z.brg", bad.bytes);
  snapshot before;
  EXPECT_EQ(loadoldlevel("z", 1), 0);
  EXPECT_TRUE(snapshot() == before);
}

// Each damaged file must leave every table exactly as it was.
TEST_F(LevelFile, DamagedFilesChangeNothing) {
  makebridge(5);
  ASSERT_EQ(savelevel("good", 1), 1);
  std::vector<unsigned char> good = readbytes("good.qzb");
  makebridge(12);
  beam[2].stress = 0.5f;
  snapshot before;
  auto refused = [&](const std::vector<unsigned char> &bytes, const char *what) {
    writebytes("bad.qzb", bytes);
    EXPECT_EQ(loadlevel("bad", 1), 0) << what;
    EXPECT_TRUE(snapshot() == before) << what;
  };
  auto patched = [&](size_t offset, image value) {
    std::vector<unsigned char> bytes = good;
    std::copy(value.bytes.begin(), value.bytes.end(), bytes.begin() + (long)offset);
    return bytes;
  };
  size_t joints = 2096, beams = 2100 + 12 * 5;

  // truncated anywhere, down to nothing
  for (size_t length = 0; length < good.size(); length += (length < 64 ? 1 : 37))
    refused(std::vector<unsigned char>(good.begin(), good.begin() + (long)length), "truncated");
  refused(std::vector<unsigned char>(good.begin(), good.end() - 1), "one byte short");
  // wrong magic, versions 0 and 5
  refused(patched(0, image().i(0x574e5053 ^ 0x20)), "magic");
  refused(patched(4, image().i(0)), "version 0");
  refused(patched(4, image().i(5)), "version 5");
  // non-finite values in the header, the terrain and a joint
  refused(patched(8, image().f(NAN)), "deck NaN");
  refused(patched(20, image().f(INFINITY)), "right end inf");
  refused(patched(44 + 4 * 300, image().f(-INFINITY)), "terrain");
  refused(patched(joints + 12 * 3 + 8, image().f(NAN)), "joint y");
  // joint and beam types other than 0 and 1
  refused(patched(joints + 12 * 2, image().i(2)), "joint type");
  refused(patched(beams + 12 * 1, image().i(-1)), "beam type");
  // a beam to a joint past the count, to itself, or a second beam on one pair
  refused(patched(beams + 12 * 0 + 8, image().i(5)), "joint index");
  refused(patched(beams + 12 * 0 + 4, image().i(-1)), "first joint index");
  refused(patched(beams + 12 * 0 + 8, image().i(0)), "self beam");
  refused(patched(beams + 12 * 1 + 4, image().i(1).i(0)), "duplicate pair");
  // counts larger than what follows
  refused(patched(2092, image().i(6)), "joint count");
  refused(patched(beams - 4, image().i(100)), "beam count");
  // pure garbage of a plausible size
  std::vector<unsigned char> garbage(good.size());
  for (size_t k = 0; k < garbage.size(); k++)
    garbage[k] = (unsigned char)(k * 2654435761u >> 13);
  refused(garbage, "garbage");

  // old format: a level file must hold every joint its count announces
  std::vector<unsigned char> oldlevel = oldfile(false).bytes;
  writebytes("bad.lvl", std::vector<unsigned char>(oldlevel.begin(), oldlevel.end() - 4));
  EXPECT_EQ(loadoldlevel("bad", 0), 0);
  writebytes("bad.lvl", std::vector<unsigned char>(oldlevel.begin(), oldlevel.begin() + 100));
  EXPECT_EQ(loadoldlevel("bad", 0), 0);
  std::vector<unsigned char> oldbridge = oldfile(true).bytes;
  writebytes("bad.brg", std::vector<unsigned char>(oldbridge.begin(), oldbridge.end() - 1));
  EXPECT_EQ(loadoldlevel("bad", 1), 0);
  std::vector<unsigned char> nan = oldlevel;
  float bad = NAN;
  memcpy(&nan[4], &bad, 4);
  writebytes("bad.lvl", nan);
  EXPECT_EQ(loadoldlevel("bad", 0), 0);
  EXPECT_TRUE(snapshot() == before);
}

TEST_F(LevelFile, CountsKeepLow14Bits) {
  // a joint count of 16385 reads as 1; beam joint indices are cut the same way
  image v;
  v.magic().i(4);
  for (int k = 0; k < 4; k++)
    v.f(0.0f);
  v.i(0).i(0).i(0).i(0).i(0);
  for (int t = 0; t < NUMTERRAIN; t++)
    v.f(1.0f);
  v.i(16384 + 2).i(0).f(1.0f).f(2.0f).i(1).f(3.0f).f(4.0f);
  v.i(16384 + 1).i(0).i(16384).i(16384 + 1);
  writebytes("w.qzb", v.bytes);
  ASSERT_EQ(loadlevel("w", 1), 1);
  EXPECT_EQ(numofjoints, 2);
  ASSERT_EQ(numofbeams, 1);
  EXPECT_EQ(beam[0].joint1, 0);
  EXPECT_EQ(beam[0].joint2, 1);
}

TEST_F(LevelFile, DirectoriesAndNames) {
  makebridge(4);
  std::string start = cwd();
  // with a "bridge" subdirectory the file goes there and the directory is left again
  mkdir("bridge", 0777);
  ASSERT_EQ(savelevel("n", 1), 1);
  EXPECT_TRUE(exists("bridge/n.qzb"));
  EXPECT_EQ(cwd(), start);
  // without a "level" subdirectory the level goes into the current directory
  ASSERT_EQ(savelevel("n", 0), 1);
  EXPECT_TRUE(exists("n.qzl"));
  EXPECT_EQ(loadlevel("n", 1), 1);
  EXPECT_EQ(cwd(), start);
  EXPECT_EQ(loadoldlevel("n", 1), 0);
  EXPECT_EQ(cwd(), start);

  // 27 characters fit with the extension; 28, empty names and paths are refused
  std::string fits(MAXFILENAME, 'a'), toolong(MAXFILENAME + 1, 'a');
  EXPECT_EQ(savelevel(fits.c_str(), 0), 1);
  EXPECT_EQ(loadlevel(fits.c_str(), 0), 1);
  EXPECT_EQ(savelevel(toolong.c_str(), 0), 0);
  EXPECT_EQ(loadlevel(toolong.c_str(), 0), 0);
  EXPECT_EQ(loadoldlevel(toolong.c_str(), 0), 0);
  EXPECT_EQ(savelevel("", 0), 0);
  EXPECT_EQ(savelevel("../up", 0), 0);
  EXPECT_FALSE(exists("../up.qzl"));
  EXPECT_EQ(savelevel("<n", 0), 0); // a temporary file's name
  EXPECT_FALSE(exists("<n.qzl"));
  EXPECT_EQ(cwd(), start);

  // tables that could not be loaded back are not written over a good file
  std::vector<unsigned char> good = readbytes("n.qzl");
  beam[0].joint2 = beam[0].joint1;
  EXPECT_EQ(savelevel("n", 0), 0);
  beam[0].joint2 = numofjoints;
  EXPECT_EQ(savelevel("n", 0), 0);
  makebridge(4);
  level.terrain[7] = NAN;
  EXPECT_EQ(savelevel("n", 0), 0);
  // counts are kept in 14 bits: a full table would read back as an empty one
  makebridge(MAXJOINTS);
  EXPECT_EQ(savelevel("n", 0), 0);
  makebridge(MAXJOINTS - 1);
  beam[numofbeams++] = {0, 0, 2, 0, 0, 0.0f};
  beam[numofbeams++] = {0, 1, 3, 0, 0, 0.0f};
  EXPECT_EQ(savelevel("n", 0), 0);
  EXPECT_EQ(readbytes("n.qzl"), good);
}
