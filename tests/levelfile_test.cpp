#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "shell/fileio.h"
#include "tempdir.h"
#include "ui/notice.h"
#include "world/level.h"
#include "world/levelfile.h"

class LevelFile : public tempdirtest {};
using bytes = std::vector<unsigned char>;

// Little-endian byte image built field by field, independent of the writer.
struct image {
  bytes b;
  image &i(int v) {
    for (int k = 0; k < 4; k++)
      b.push_back((unsigned char)((unsigned)v >> (8 * k)));
    return *this;
  }
  image &f(float v) { int u; memcpy(&u, &v, 4); return i(u); }
  image &fill(int count, int v) { while (count-- > 0) i(v); return *this; }
};
constexpr int MAGIC = 0x574e5053; // "SPNW"

static bytes patched(bytes file, size_t offset, const image &value) {
  std::copy(value.b.begin(), value.b.end(), file.begin() + (long)offset);
  return file;
}

// A recognisable bridge: sloped terrain, a few joints and beams.
static void makebridge(int joints) {
  createlevel();
  for (int t = 0; t < NUMTERRAIN; t++)
    level.terrain[t] = 0.25f * (float)t - 3.0f;
  level.budget = 12345, level.weight = 50000, level.trainstart = 2, level.manualdeck = 1, level.traintime = 7;
  numofjoints = joints, numofbeams = joints > 0 ? joints - 1 : 0;
  for (int j = 0; j < joints; j++) {
    joint[j] = {j < 2 ? 0 : 1, {992.0f + 2.0f * (float)(j % 1024), 32.0f + 0.5f * (float)(j % 7)}};
    if (j > 0)
      beam[j - 1] = {j % 2, j - 1, j, 0, 0, 0.0f};
  }
}

// The fields a load sets, the terrain at the given columns, every joint and beam.
static std::vector<float> summary(std::initializer_list<int> columns) {
  std::vector<float> out = {level.deckheight, level.waterlevel, level.leftend, level.rightend, (float)level.budget,
                            (float)level.weight, (float)level.trainstart, (float)level.manualdeck, (float)level.traintime};
  for (int c : columns)
    out.push_back(level.terrain[c]);
  out.push_back((float)numofjoints);
  for (int j = 0; j < numofjoints; j++)
    out.insert(out.end(), {(float)joint[j].type, joint[j].pos.x, joint[j].pos.y});
  out.push_back((float)numofbeams);
  for (int b = 0; b < numofbeams; b++)
    out.insert(out.end(), {(float)beam[b].type, (float)beam[b].joint1, (float)beam[b].joint2});
  return out;
}

// Everything a load could change, for byte-wise comparison.
static std::string snapshot() {
  std::string out((const char *)&level, sizeof level);
  out.append((const char *)joint, sizeof joint).append((const char *)beam, sizeof beam);
  return out.append((const char *)&numofjoints, sizeof(int)).append((const char *)&numofbeams, sizeof(int));
}

TEST_F(LevelFile, RoundTripAndBytes) {
  // an empty level, a bridge, a full table: loading over different tables reproduces them exactly; hover and
  // stress are not in the file, so the table keeps what it held
  std::string saved;
  for (int joints : {0, MAXJOINTS - 1, 40}) {
    makebridge(joints);
    if (joints > 4)
      beam[3].hover = 1, beam[3].stress = 0.75f;
    saved = snapshot();
    ASSERT_EQ(savelevel("b1", 1), 1) << joints;
    createlevel(), numofjoints = 3, numofbeams = 0;
    ASSERT_EQ(loadlevel("b1", 1), 1) << joints;
    EXPECT_TRUE(snapshot() == saved) << joints;
  }
  // (the bytes themselves, and which extension a level or a bridge takes, are pinned by the shipped levels and
  // bridges, which the generator must write again byte for byte, and by the checker's files)
  // counts and beam joint indices keep only their low 14 bits
  bytes file = readbytes("b1.qzb");
  writebytes("b1.qzb", patched(patched(file, 2092, image().i(16384 + 40)), 2576, image().i(16384 + 39).i(1).i(16384)));
  createlevel(), numofjoints = 3;
  ASSERT_EQ(loadlevel("b1", 1), 1);
  EXPECT_TRUE(snapshot() == saved);
}

TEST(LevelTerrain, EdgeColumns) {
  // the last column's slope (x 2040 to 2044) is ground, as is the first; past either end there is none
  createlevel();
  for (float x : {-1.0f, 1.0f, 2042.0f, 2046.0f}) {
    vector2d top = {x, 40}, bottom = {x, 20};
    EXPECT_EQ(lineintersectlevel2d(&top, &bottom), x > 0 && x < 2044) << x;
  }
}

static image oldfile(bool bridge) {
  image v = bridge ? image().i(1) : image();
  v.f(20.0f).f(30.0f).i(700).f(2000.0f).f(2100.0f);
  for (int k = 0; k < 1024; k++)
    v.f(k == 300 ? 40.0f : (float)(k % 50));
  v.i(3);
  for (int j = 0; j < 3; j++)
    v.i(j == 0 ? 2 : 5).f(1100.0f + 10.0f * (float)j).f(30.0f + (float)j).fill(20, j - 1);
  if (bridge)
    v.i(2).i(77).i(1).i(0).i(2).i(0).i(0).i(77).i(2).i(1).i(0).i(0).i(0);
  return v;
}

TEST_F(LevelFile, OlderVersionsAndOldFormat) {
  image v;
  for (int version = 1; version <= 3; version++) {
    v = image();
    // the weight came with version 2, start side, manual deck and train time with 3
    v.i(MAGIC).i(version).f(30.0f).f(20.0f).f(100.0f).f(200.0f).i(900).fill(version >= 2, 60000);
    v.fill(version >= 3 ? 2 : 0, 1).fill(version >= 3, 9);
    for (int t = 0; t < 256; t++)
      v.f((float)t);
    v.i(2).i(0).f(100.0f).f(30.0f).i(-99).i(1).f(110.0f).f(31.0f).i(-99).i(1).i(1).i(0).i(1);
    writebytes("old.qzl", v.b);
    ASSERT_EQ(loadlevel("old", 0), 1) << "version " << version;
    // ends and joint x move 512 right; the stored terrain lands in columns 128-383
    float newer = version >= 3 ? 1.0f : 0.0f;
    EXPECT_EQ(summary({127, 129, 383, 384}),
              std::vector<float>({30, 20, 612, 712, 900, version >= 2 ? 60000.0f : 40000.0f, newer, newer, 9 * newer,
                                  0, 1, 255, 0, 2, 0, 612, 30, 1, 622, 31, 1, 1, 0, 1}))
        << "version " << version;
  }
  // the world's range holds after the shift: version 3's first joint at 3584 lands on its edge, beyond is refused
  for (float x : {3584.0f, 3584.5f}) {
    writebytes("old.qzl", patched(v.b, 44 + 4 * 256 + 4 + 4, image().f(x)));
    EXPECT_EQ(loadlevel("old", 0), x == 3584.0f) << x;
  }
  // old column 300 is column 44, the outer columns are dropped; kind 2 is an anchor, anything else free; x moves
  // 1024 left; a level file has no beams, so the previous ones are dropped; beam kind word 2 is deck
  makebridge(10);
  writebytes("o.lvl", oldfile(false).b);
  writebytes("o.brg", oldfile(true).b);
  std::vector<float> want = {30, 20, 976, 1076, 700, 40000, 0, 0, 0, 40, 256 % 50, 767 % 50,
                             3, 0, 76, 30, 1, 86, 31, 1, 96, 32, 0};
  for (int bridge : {0, 1}) {
    ASSERT_EQ(loadoldlevel("o", bridge), 1);
    EXPECT_EQ(summary({44, 0, 511}), want) << bridge;
    want.back() = 2, want.insert(want.end(), {1, 1, 0, 0, 2, 1});
  }
}

// Each damaged file must leave every table exactly as it was; so must a
// coordinate past the world's range, refused with a reason.
TEST_F(LevelFile, DamagedFilesChangeNothing) {
  // a file refused must not bring back what an earlier load read
  makebridge(5);
  ASSERT_EQ(savelevel("good", 1) + loadlevel("good", 1), 2);
  bytes good = readbytes("good.qzb");
  makebridge(12);
  beam[2].stress = 0.5f;
  std::string before = snapshot();
  const size_t joints = 2096, beams = 2100 + 12 * 5;
  bytes oldlevel = oldfile(false).b, oldbridge = oldfile(true).b;
  // wrong magic (its last byte), versions 0 and 5; non-finite values in the header, the terrain and the last
  // joint; the first joint and a beam of types other than 0 and 1; a beam to a joint past the count, to itself,
  // or a second beam on one pair; counts larger than what follows
  struct { size_t offset; image value; } patches[] = {
      {0, image().i(MAGIC ^ 0x20000000)}, {4, image().i(0)}, {4, image().i(5)}, {8, image().f(NAN)},
      {20, image().f(INFINITY)}, {44 + 4 * 300, image().f(-INFINITY)}, {joints + 12 * 4 + 8, image().f(NAN)},
      {joints, image().i(2)}, {beams + 12 * 1, image().i(-1)}, {beams + 8, image().i(5)},
      {beams + 4, image().i(-1)}, {beams + 8, image().i(0)}, {beams + 12 * 1 + 4, image().i(1).i(0)},
      {2092, image().i(6)}, {beams - 4, image().i(100)}};
  // old format: a level file must hold every joint its count announces, a
  // bridge starts with the word 1
  struct row { bytes data; int format; };
  std::vector<row> rows;
  for (const auto &p : patches)
    rows.push_back({patched(good, p.offset, p.value), 0});
  rows.insert(rows.end(), {{bytes(good.begin(), good.end() - 1), 0},
                          {bytes(oldlevel.begin(), oldlevel.end() - 4), 1},
                          {bytes(oldbridge.begin(), oldbridge.end() - 1), 2},
                          {patched(oldbridge, 0, image().i(0)), 2}, {patched(oldlevel, 4, image().f(NAN)), 1}});
  // truncated anywhere, down to nothing
  for (size_t length = 0; length < good.size(); length += (length < 64 ? 1 : 37))
    rows.push_back({bytes(good.begin(), good.begin() + (long)length), 0});
  for (size_t r = 0; r < rows.size(); r++) {
    writebytes(rows[r].format == 0 ? "bad.qzb" : rows[r].format == 1 ? "bad.lvl" : "bad.brg", rows[r].data);
    EXPECT_EQ(rows[r].format == 0 ? loadlevel("bad", 1) : loadoldlevel("bad", rows[r].format == 2), 0) << "row " << r;
    EXPECT_TRUE(snapshot() == before) << "row " << r;
  }
  // Every coordinate at the edge of the world's range loads and tells nothing;
  // one step further, a huge value or the older formats' shifted values past
  // it are refused with a reason, told on the notice line.
  const float beyond = std::nextafter(WORLDLIMIT, 1e30f);
  // deck, water, left and right end, a terrain column, the last joint's x and y
  const size_t fields[] = {8, 12, 16, 20, 44 + 4 * 511, joints + 12 * 4 + 4, joints + 12 * 4 + 8};
  const char *named[] = {"the deck height", "the water level", "the left end", "the right end",
                         "terrain column 511", "joint 4", "joint 4"};
  for (int k = 0; k < 7; k++)
    for (float far : {WORLDLIMIT, -WORLDLIMIT, beyond, -beyond, 8e9f, -2.1474836e9f}) {
      const bool inside = fabsf(far) <= WORLDLIMIT;
      writebytes("far.qzb", patched(good, fields[k], image().f(far)));
      makebridge(12), beam[2].stress = 0.5f, clearnotice();
      EXPECT_EQ(loadlevel("far", 1), inside) << named[k] << " " << far;
      EXPECT_TRUE(inside || snapshot() == before) << named[k] << " " << far;
      std::string why = inside ? "" : std::string(named[k]) + " lies outside -4096..4096";
      EXPECT_EQ(getloadfailure() ? getloadfailure() : "", why);
      EXPECT_EQ(getnotice(0) ? getnotice(0) : "", inside ? "" : "Could not load far.qzb: " + why);
    }
  clearnotice();
  // the range holds after the oldest format's shift, 1024 left (version 3's is the older versions' test's)
  for (float x : {5120.0f, 5121.0f}) {
    writebytes("o.brg", patched(oldfile(true).b, 24 + 4 * 1024 + 4 + 4, image().f(x)));
    EXPECT_EQ(loadoldlevel("o", 1), x == 5120.0f) << x;
  }
  clearnotice();
}

TEST_F(LevelFile, DirectoriesAndNames) {
  makebridge(4);
  // with a "bridge" subdirectory the file goes there and the directory is left again; without a "level"
  // subdirectory the level goes into the current directory
  mkdir("bridge", 0777);
  ASSERT_EQ(savelevel("n", 1) + savelevel("n", 0), 2);
  EXPECT_TRUE(exists("bridge/n.qzb") && exists("n.qzl"));
  EXPECT_EQ(loadlevel("n", 1) * 2 + loadoldlevel("n", 1), 2);
  // 27 characters fit with the extension; 28, empty names, paths and a temporary file's name are refused
  const std::string fits(MAXFILENAME, 'a'), toolong(MAXFILENAME + 1, 'a');
  for (const char *name : {fits.c_str(), toolong.c_str(), "", "../up", "<n"}) {
    EXPECT_EQ(savelevel(name, 0), name == fits.c_str()) << name;
    EXPECT_EQ(loadlevel(name, 0), name == fits.c_str()) << name;
  }
  // tables that could not be loaded back are not written over a good file (the load's own check, coordinates
  // out of range among them); counts are kept in 14 bits, so a full table would read back as an empty one
  bytes good = readbytes("n.qzl");
  void (*breakers[])() = {
      [] { beam[0].joint2 = beam[0].joint1; }, [] { beam[0].joint2 = numofjoints; }, [] { level.terrain[7] = NAN; },
      [] { makebridge(MAXJOINTS); },
      [] { makebridge(MAXJOINTS - 1), beam[numofbeams++] = {0, 0, 2, 0, 0, 0}, beam[numofbeams++] = {0, 1, 3, 0, 0, 0}; }};
  for (auto breaker : breakers)
    EXPECT_EQ((makebridge(4), breaker(), savelevel("n", 0)), 0);
  EXPECT_EQ(readbytes("n.qzl"), good);
}
