#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "editor/editor.h"
#include "render/view.h"
#include "render/worldcache.h"
#include "shell/config.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "world/level.h"

TEST(WorldCache, ActionsFollowTheKeys) {
  worldcachestate s = {};
  // A new world is drawn; seen again it is drawn into the picture; after
  // that the picture serves for as long as the key holds.
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_DRAW);
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_CAPTURE);
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_REUSE);
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_REUSE);
  // A world that changes every frame never costs a capture.
  for (uint64_t key = 12; key < 20; key++)
    EXPECT_EQ(getworldcacheaction(&s, key, 1), WORLD_DRAW) << key;
  // The old picture still serves its own key when that comes back.
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_REUSE);
  EXPECT_EQ(getworldcacheaction(&s, 30, 1), WORLD_DRAW);
  EXPECT_EQ(getworldcacheaction(&s, 30, 1), WORLD_CAPTURE);
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_DRAW);
  // A lost picture is never copied: the next steady frame draws it anew.
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_CAPTURE);
  forgetworldpicture(&s);
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_CAPTURE);
  EXPECT_EQ(getworldcacheaction(&s, 11, 1), WORLD_REUSE);
  // A world too cheap to be worth a picture is drawn, however still it
  // stands; a kept picture of the same key still serves.
  EXPECT_EQ(getworldcacheaction(&s, 40, 0), WORLD_DRAW);
  EXPECT_EQ(getworldcacheaction(&s, 40, 0), WORLD_DRAW);
  EXPECT_EQ(getworldcacheaction(&s, 40, 1), WORLD_CAPTURE);
  EXPECT_EQ(getworldcacheaction(&s, 40, 0), WORLD_REUSE);
}

TEST(WorldCache, KeptOnlyWhenDrawingCostsMoreThanCopying) {
  // The lattice bridge in full view, at 800 x 600 and 1600 x 1200: kept.
  EXPECT_TRUE(isworldworthkeeping(15300, 800L * 600));
  EXPECT_TRUE(isworldworthkeeping(15300, 1600L * 1200));
  // Zoomed in to a few thousand members: drawn at the larger size.
  EXPECT_FALSE(isworldworthkeeping(2300, 1600L * 1200));
  EXPECT_FALSE(isworldworthkeeping(0, 1L));
  EXPECT_TRUE(isworldworthkeeping(0, 0));
}

TEST(WorldCache, KeyHashesWordsInOrder) {
  const int a[3] = {1, 2, 3}, b[3] = {1, 3, 2};
  worldkey ka, kb, kc;
  beginworldkey(&ka), beginworldkey(&kb), beginworldkey(&kc);
  addworldkey(&ka, a, sizeof a), addworldkey(&kb, b, sizeof b);
  EXPECT_NE(ka.h, kb.h);
  for (int v : a)
    addworldkeyint(&kc, v);
  EXPECT_EQ(ka.h, kc.h);
  // -0 and 0 draw alike but are other bits; a changed key only costs a frame.
  worldkey z0, z1;
  beginworldkey(&z0), beginworldkey(&z1);
  addworldkeyfloat(&z0, 0.0f), addworldkeyfloat(&z1, -0.0f);
  EXPECT_NE(z0.h, z1.h);
}

// Every input of a screen's lasting layers, changed in turn, changes its key.
struct change {
  const char *what;
  std::function<void()> apply;
};

static void expectkeyfollows(uint64_t (*key)(), const std::vector<change> &changes) {
  for (const change &c : changes) {
    uint64_t before = key();
    EXPECT_EQ(key(), before);
    c.apply();
    EXPECT_NE(key(), before) << c.what;
  }
}

// The globals a test changes, kept and put back so later tests see them as before.
struct savedworld {
  float pos[3] = {view.pos[0], view.pos[1], view.pos[2]};
  levelinfo lv = level;
  int stressview = game.stressview, maxstress = game.maxstress, safe = colorsafe;
  int joints = numofjoints, beams = numofbeams, bonds = numofbonds, particles = numofparticles,
      objects = numofobjects;
  editorinfo ed = editor;
  ~savedworld() {
    memcpy(view.pos, pos, sizeof pos);
    level = lv, editor = ed;
    game.stressview = stressview, game.maxstress = maxstress, colorsafe = safe;
    numofjoints = joints, numofbeams = beams, numofbonds = bonds, numofparticles = particles;
    numofobjects = objects;
  }
};

TEST(WorldCache, EditorKeySeesEveryInput) {
  savedworld keep;
  view.pos[0] = 1024, view.pos[1] = 32, view.pos[2] = 64;
  game.stressview = 0, colorsafe = 0;
  numofjoints = 3, numofbeams = 2;
  joint[0] = {0, {1000, 32}}, joint[1] = {1, {1004, 32}}, joint[2] = {1, {1002, 36}};
  beam[0] = {1, 0, 1, 0, 0, 0.0f}, beam[1] = {0, 1, 2, 0, 1, 0.5f};
  editor.savednumofbeams = 2;
  uint64_t base = geteditorworldkey();
  // The joints are drawn on top every frame: their highlights need no new picture.
  editor.selected = 1, editor.hover = 2, editor.savednumofjoints = 0;
  EXPECT_EQ(geteditorworldkey(), base);
  // A negative or oversized count reads nothing out of the tables.
  int beams = numofbeams;
  numofbeams = -4;
  EXPECT_NE(geteditorworldkey(), base);
  numofbeams = MAXBEAMS + 9;
  EXPECT_EQ(geteditorworldkey(), geteditorworldkey());
  numofbeams = beams;
  EXPECT_EQ(geteditorworldkey(), base);
  expectkeyfollows(geteditorworldkey,
                   {{"camera", [] { view.pos[2] = 65; }},
                    {"joint moved", [] { joint[2].pos.x = 1002.5f; }},
                    {"beam hovered", [] { beam[0].hover = 1; }},
                    {"beam stress", [] { beam[1].stress = 0.25f; }},
                    {"beam type", [] { beam[1].type = 1; }},
                    {"beam added", [] { beam[2] = {0, 0, 2, 0, 0, 0.0f}, numofbeams = 3; }},
                    {"unsaved beams", [] { editor.savednumofbeams = 1; }},
                    {"longest beam", [] { beamtype[0] += 1; }},
                    {"water", [] { level.waterlevel += 1; }},
                    {"ground", [] { level.terrain[255] += 1; }},
                    {"deck", [] { level.manualdeck ^= 1; }},
                    {"stress view", [] { game.stressview = 1; }},
                    {"colour-safe", [] { colorsafe = 1; }}});
  beamtype[0] -= 1;
}

TEST(WorldCache, TestRunKeySeesEveryInput) {
  savedworld keep;
  view.pos[0] = 1024, view.pos[1] = 32, view.pos[2] = 64;
  game.stressview = 1, game.maxstress = 0, colorsafe = 0;
  numofparticles = 3, numofbonds = 2, numofobjects = 1;
  for (int i = 0; i < 3; i++)
    particle[i].pos = {1000.0f + 4 * i, 32};
  bond[0] = {}, bond[1] = {};
  bond[0].particle1 = 0, bond[0].particle2 = 1, bond[0].road = 1;
  bond[1].particle1 = 1, bond[1].particle2 = 2, bond[1].stress = 0.5f;
  object[0].type = 0, object[0].center = {1010, 34}, object[0].axisx = {1, 0};
  uint64_t editorkey = geteditorworldkey();
  EXPECT_NE(gettestrunworldkey(), editorkey);
  expectkeyfollows(gettestrunworldkey,
                   {{"particle moved", [] { particle[1].pos.y = 31.5f; }},
                    {"bond stress", [] { bond[0].stress = 0.125f; }},
                    {"bond side", [] { bond[0].stresstype = 1; }},
                    {"peak stress", [] { bond[1].peakstress = 1.0f; }},
                    {"peak side", [] { bond[1].peakstresstype = 1; }},
                    {"train bond", [] { bond[1].rigid = 1; }},
                    {"deck", [] { bond[0].road = 0; }},
                    {"bond gone", [] { numofbonds = 1; }},
                    {"car moved", [] { object[0].center.x = 1011; }},
                    {"car turned", [] { object[0].axisx = {0.0f, 1.0f}; }},
                    {"car colour", [] { object[0].color[1] = 0.5f; }},
                    {"peak view", [] { game.maxstress = 1; }},
                    {"camera", [] { view.pos[0] = 1030; }},
                    {"water", [] { level.waterlevel -= 1; }}});
}
