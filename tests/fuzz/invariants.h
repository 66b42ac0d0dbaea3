// The table invariants every operation must keep, checked after each step
// of a fuzz run: dense tables with valid indices, beams between two
// different existing joints, at most one beam per pair of joints.
#pragma once

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "fuzzdir.h"
#include "world/level.h"

static inline int comparefuzzpairs(const void *a, const void *b) {
  int x = *(const int *)a, y = *(const int *)b;
  return x < y ? -1 : x > y ? 1 : 0;
}

// anchorbeams: whether a beam may join two anchors (files of the older
// program are not known to exclude it; the editor never builds one).
static inline void checkbridgetables(int anchorbeams) {
  static int pairs[MAXBEAMS];
  FUZZCHECK(numofjoints >= 0 && numofjoints <= MAXJOINTS);
  FUZZCHECK(numofbeams >= 0 && numofbeams <= MAXBEAMS);
  for (int i = 0; i < numofjoints; i++) {
    FUZZCHECK(joint[i].type == 0 || joint[i].type == 1);
    FUZZCHECK(std::isfinite(joint[i].pos.x) && std::isfinite(joint[i].pos.y));
  }
  for (int i = 0; i < numofbeams; i++) {
    const beaminfo *b = &beam[i];
    FUZZCHECK(b->type == 0 || b->type == 1);
    FUZZCHECK(b->joint1 >= 0 && b->joint1 < numofjoints);
    FUZZCHECK(b->joint2 >= 0 && b->joint2 < numofjoints);
    FUZZCHECK(b->joint1 != b->joint2);
    FUZZCHECK(anchorbeams || joint[b->joint1].type != 0 || joint[b->joint2].type != 0);
    int low = b->joint1 < b->joint2 ? b->joint1 : b->joint2;
    int high = b->joint1 < b->joint2 ? b->joint2 : b->joint1;
    pairs[i] = low * MAXJOINTS + high;
  }
  qsort(pairs, (size_t)numofbeams, sizeof(int), comparefuzzpairs);
  for (int i = 1; i < numofbeams; i++)
    FUZZCHECK(pairs[i] != pairs[i - 1]);
}

// Everything a refused load must leave alone, compared byte for byte.
struct tablecopy {
  levelinfo level;
  int numofjoints, numofbeams;
  jointinfo joint[MAXJOINTS];
  beaminfo beam[MAXBEAMS];
};

static inline void copytables(tablecopy *out) {
  out->level = level;
  out->numofjoints = numofjoints;
  out->numofbeams = numofbeams;
  memcpy(out->joint, joint, sizeof(joint));
  memcpy(out->beam, beam, sizeof(beam));
}

static inline int sametables(const tablecopy *a) {
  return memcmp(&a->level, &level, sizeof(level)) == 0 && a->numofjoints == numofjoints &&
         a->numofbeams == numofbeams && memcmp(a->joint, joint, sizeof(joint)) == 0 &&
         memcmp(a->beam, beam, sizeof(beam)) == 0;
}

// A small known bridge to load over, so that a refused load can be told
// from a load that changed something.
static inline void setupknowntables() {
  createlevel();
  numofjoints = 3;
  numofbeams = 2;
  joint[0] = {0, {990.0f, 32.0f}};
  joint[1] = {1, {1000.0f, 34.0f}};
  joint[2] = {0, {1010.0f, 32.0f}};
  beam[0] = {0, 0, 1, 0, 0, 0.0f};
  beam[1] = {1, 1, 2, 0, 1, 0.5f};
}
