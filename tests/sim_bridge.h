// Small bridges over the default crossing, shared by the simulation and
// test-run tests. The default level has a dip from x 996 to 1052 and the
// ends at 992 and 1056, deck line 32.
#pragma once

#include <string.h>

#include "geometry/hash.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "testrun/testrun.h"
#include "world/level.h"
#include "world/levellist.h"

// FNV-1a over the bits of every particle position: any change of a result
// bit shows.
inline unsigned long long hashpositions() {
  uint64_t h = HASHSTART;
  for (int i = 0; i < numofparticles; i++)
    h = hashbytes(h, &particle[i].pos, sizeof particle[i].pos);
  return h;
}

// A test run of the bridge in the live tables as the screen starts it,
// off the level list, "Add" at 5000.
inline void startplainrun(int mode, int autorun) {
  memset(&game, 0, sizeof game);
  game.weight = level.weight;
  game.add = 5000;
  game.mode = mode;
  levelnum = -1;
  starttestrun(0);
  game.autorun = autorun;
}

// A Warren truss: deck joints every 8 units from 992 to 1056 (the two end
// ones anchors), top chord at 40 between them, deck beams along the road.
// With `weak` set the top chord and the diagonals are left out.
inline void buildtruss(int weak) {
  createlevel();
  beamtype[0] = beamtype[1] = 17.9f;
  numofjoints = numofbeams = 0;
  for (int i = 0; i < 17; i++)  // the deck joints 0 to 8, then the top chord
    joint[numofjoints++] = i < 9 ? jointinfo{i % 8 ? 1 : 0, {992.0f + 8.0f * (float)i, 32.0f}}
                                 : jointinfo{1, {996.0f + 8.0f * (float)(i - 9), 40.0f}};
  for (int i = 0; i < 8; i++)
    beam[numofbeams++] = {1, i, i + 1, 0, 0, 0.0f};
  for (int i = 0; i < 7 && !weak; i++)
    beam[numofbeams++] = {0, 9 + i, 10 + i, 0, 0, 0.0f};
  for (int i = 0; i < 8 && !weak; i++) {
    beam[numofbeams++] = {0, i, 9 + i, 0, 0, 0.0f};
    beam[numofbeams++] = {0, 9 + i, i + 1, 0, 0, 0.0f};
  }
}

// The Warren truss standing on three piers from the dip floor: sound under
// the default train both ways.
inline void buildpiertruss() {
  buildtruss(0);
  for (int k = 2; k <= 6; k += 2) {
    int a = numofjoints;
    joint[numofjoints++] = {0, {992.0f + 8.0f * (float)k, 16.0f}};
    beam[numofbeams++] = {0, a, k, 0, 0, 0.0f};
    beam[numofbeams++] = {0, a, k - 1, 0, 0, 0.0f};
    beam[numofbeams++] = {0, a, k + 1, 0, 0, 0.0f};
  }
}

// A braced grid 2 units apart standing on a row of anchors, its rows all
// deck beams: about 16,000 beams, the train rolling along the top.
inline float buildfullgrid() {
  createlevel();
  beamtype[0] = beamtype[1] = 17.9f;
  numofjoints = numofbeams = 0;
  const int columns = 600, rows = 10;
  for (int r = 0; r < rows; r++)
    for (int c = 0; c < columns; c++)
      joint[numofjoints++] = {r == 0 ? 0 : 1, {400.0f + 2.0f * (float)c, 32.0f + 2.0f * (float)r}};
  for (int r = 1; r < rows; r++)
    for (int c = 0; c < columns; c++) {
      int j = r * columns + c;
      if (c + 1 < columns) {
        beam[numofbeams++] = {1, j, j + 1, 0, 0, 0.0f};
        beam[numofbeams++] = {0, j - columns, j + 1, 0, 0, 0.0f};
      }
      beam[numofbeams++] = {0, j - columns, j, 0, 0, 0.0f};
    }
  return 32.0f + 2.0f * (float)(rows - 1);
}

// The full grid lifted 60 units off the ground and held only every `span`
// columns of its bottom row: the spans between sag under their own weight
// and break, beam after beam, from the first steps on.
inline float buildcollapsinggrid(int span) {
  float top = buildfullgrid() + 60.0f;
  for (int j = 0; j < numofjoints; j++)
    joint[j].pos.y += 60.0f;
  for (int c = 0; c < 600; c++)
    joint[c].type = c % span == 0 ? 0 : 1;
  return top;
}
