// A map pack checked as a whole: every level in playing order with the
// bridge of the same name (and the cheapest bridge found for it), and
// every bridge of the pack tried on the pack's other levels.
#pragma once

#include <stddef.h>

#include "authoring/proof.h"
#include "authoring/verifyrun.h"
#include "world/levellist.h"

constexpr int MAXPACKLEVELS = 128;
constexpr int POOLSIZE = 4 * MAXJOINTS;  // joints, and beams, of all stored files together

enum : int { FILE_MISSING = 0, FILE_LOADED = 1, FILE_UNREADABLE = 2 };

// A level or bridge file of the pack, its joints and beams kept in the pools.
struct storedfile {
  int state;  // FILE_*
  levelinfo level;
  int firstjoint, numofjoints, firstbeam, numofbeams;
};

struct packlevel {
  char name[NAMELENGTH];
  storedfile level, bridge, cheapest;
  verdictinfo verdict;
  verdictinfo proof[2][PROOFSECONDS];  // of the bridge, of the cheapest
};

// One bridge of the pack on another level of it.
struct crosspair {
  int from;  // packlevel whose bridge it is
  int kind;  // 0 its bridge, 1 its cheapest
  int onto;  // packlevel whose crossing it is tried on
};

extern packlevel packlevels[MAXPACKLEVELS];
extern int numofpacklevels;
extern crosspair pairs[MAXPACKLEVELS * (MAXPACKLEVELS - 1) * 2];
extern int numofpairs;
extern verdictinfo pairverdict[MAXPACKLEVELS * (MAXPACKLEVELS - 1) * 2];

// The pack's levels in the game's own list order into `packlevels`.
// Returns how many; 0, complained about, when there are none or the
// directory cannot be listed.
int listpack(const char *leveldir);
// The player's bridges of a pack: bridge/<pack> beside level/<pack>.
int findpackbridgedir(const char *leveldir, char *out, size_t size);
// Every listed level's file, bridge and (with a directory) cheapest bridge.
// Returns 0 when any that exists cannot be read (each complained about).
int loadpack(const char *leveldir, const char *bridgedir, const char *cheapestdir);

// Each level's bridge on its own crossing for `seconds` of test time.
int testpack(int seconds, int workers);
// The proofs of each level's bridge and cheapest bridge.
int provepack(int seconds, int workers);
// Every bridge and cheapest bridge on every other level, moved to every
// spot where its anchors meet that level's anchors, until one passes.
int crosspack(int seconds, int workers);

const storedfile *bridgeof(int i, int kind);  // kind 0 the bridge, 1 the cheapest
int cheapestcost(int i);                      // -1 none
int withinbudget(int i);
// A bridge within budget that passes (and, with `proof`, holds, its
// cheapest bridge as well).
int levelok(int i, int proof);
// Pair k passed there within that level's budget.
int isrepeat(int k);
