#include "authoring/pack.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "authoring/files.h"

packlevel packlevels[MAXPACKLEVELS];
int numofpacklevels;
crosspair pairs[MAXPACKLEVELS * (MAXPACKLEVELS - 1) * 2];
int numofpairs;
verdictinfo pairverdict[MAXPACKLEVELS * (MAXPACKLEVELS - 1) * 2];

static jointinfo pooljoint[POOLSIZE];
static int numofpooljoints;
static beaminfo poolbeam[POOLSIZE];
static int numofpoolbeams;
static bridgetables scratchbridge, scratchlevel;
static int packseconds;

static int storefile(storedfile *f) {
  if (numofpooljoints + numofjoints > POOLSIZE || numofpoolbeams + numofbeams > POOLSIZE)
    return 0;
  f->level = level;
  f->firstjoint = numofpooljoints;
  f->numofjoints = numofjoints;
  memcpy(pooljoint + numofpooljoints, joint, sizeof(jointinfo) * (size_t)numofjoints);
  numofpooljoints += numofjoints;
  f->firstbeam = numofpoolbeams;
  f->numofbeams = numofbeams;
  memcpy(poolbeam + numofpoolbeams, beam, sizeof(beaminfo) * (size_t)numofbeams);
  numofpoolbeams += numofbeams;
  return 1;
}

static void expandfile(const storedfile *f, bridgetables *out) {
  out->level = f->level;
  out->numofjoints = f->numofjoints;
  memcpy(out->joint, pooljoint + f->firstjoint, sizeof(jointinfo) * (size_t)f->numofjoints);
  out->numofbeams = f->numofbeams;
  memcpy(out->beam, poolbeam + f->firstbeam, sizeof(beaminfo) * (size_t)f->numofbeams);
}

// DIR/NAME with the first of two extensions that exists, into f; a file
// that exists but does not load, or does not fit the pools, is unreadable.
static void loadpackfile(storedfile *f, const char *dir, const char *name, const char *ext,
                         const char *oldext) {
  char path[PATH_MAX];
  f->state = FILE_MISSING;
  for (int k = 0; k < 2 && f->state == FILE_MISSING; k++) {
    snprintf(path, sizeof path, "%s/%s%s", dir, name, k ? oldext : ext);
    if (access(path, F_OK) != 0)
      continue;
    const char *why = nullptr;
    numofjoints = numofbeams = 0;
    if (!loadgamefile(path, &why) || !storefile(f)) {
      complain("%s: %s", path, why ? why : "too many joints in the pack");
      f->state = FILE_UNREADABLE;
    } else {
      f->state = FILE_LOADED;
    }
  }
}

// The pack's levels in the game's own list order: the list is made by the
// game's lister, standing in LEVELDIR's parent with the pack as the one
// listed pack.
int listpack(const char *leveldir) {
  char resolved[PATH_MAX];
  if (!realpath(leveldir, resolved)) {
    complain("%s: %s", leveldir, strerror(errno));
    return 0;
  }
  char *slash = strrchr(resolved, '/');
  if (!slash || strlen(slash + 1) >= (size_t)NAMELENGTH || !slash[1]) {
    complain("%s: not a pack directory the game can list", leveldir);
    return 0;
  }
  memcpy(dirlist[0], slash + 1, strlen(slash + 1) + 1);
  dirlist[1][0] = 0;
  dirnum = 0;
  *slash = 0;
  int back = open(".", O_RDONLY | O_DIRECTORY);
  if (back < 0 || chdir(resolved[0] ? resolved : "/") != 0) {
    complain("%s: cannot enter its parent", leveldir);
    if (back >= 0)
      close(back);
    return 0;
  }
  int count = getlevellist();
  int restored = fchdir(back);
  close(back);
  (void)restored;
  if (count > MAXPACKLEVELS) {
    complain("%s: more than %d levels", leveldir, MAXPACKLEVELS);
    return 0;
  }
  if (count == 0)
    complain("%s: no levels", leveldir);
  numofpacklevels = count;
  for (int i = 0; i < count; i++)
    memcpy(packlevels[i].name, levellist[i], NAMELENGTH);
  return count;
}

// The player's bridges of a pack: bridge/<pack> beside level/<pack>.
int findpackbridgedir(const char *leveldir, char *out, size_t size) {
  char resolved[PATH_MAX];
  if (!realpath(leveldir, resolved))
    return 0;
  char *pack = strrchr(resolved, '/');
  if (!pack || pack == resolved)
    return 0;
  *pack++ = 0;
  char *levels = strrchr(resolved, '/');
  if (!levels || strcmp(levels + 1, "level") != 0)
    return 0;
  *levels = 0;
  return snprintf(out, size, "%s/bridge/%s", resolved, pack) < (int)size;
}

const storedfile *bridgeof(int i, int kind) {
  return kind ? &packlevels[i].cheapest : &packlevels[i].bridge;
}

static verdictinfo teston(const storedfile *bridge, const storedfile *onto) {
  expandfile(bridge, &scratchbridge);
  expandfile(onto, &scratchlevel);
  if (!transplantbridge(&scratchbridge, &scratchlevel)) {
    verdictinfo v = makeverdict(FAILURE_UNBUILT);
    return v;
  }
  return runverdict(packseconds, 2.0f);
}

static verdictinfo packjob(int i) { return teston(&packlevels[i].bridge, &packlevels[i].level); }

// A bridge repeats on another level if it passes there moved to any spot
// where its anchors meet that level's anchors.
static verdictinfo crossjob(int k) {
  expandfile(bridgeof(pairs[k].from, pairs[k].kind), &scratchbridge);
  expandfile(&packlevels[pairs[k].onto].level, &scratchlevel);
  static vector2d shifts[MAXJOINTS];
  int count = findbridgeshifts(&scratchbridge, &scratchlevel, shifts, MAXJOINTS);
  verdictinfo v = makeverdict(FAILURE_UNBUILT);
  for (int i = 0; i < count && !v.passed; i++) {
    transplantbridge(&scratchbridge, &scratchlevel, shifts[i]);
    v = runverdict(packseconds, 2.0f);
  }
  return v;
}

int cheapestcost(int i) {
  return packlevels[i].cheapest.state == FILE_LOADED ? packlevels[i].cheapest.numofbeams * BEAMCOST
                                                     : -1;
}

int withinbudget(int i) {
  const packlevel &p = packlevels[i];
  return p.bridge.numofbeams * BEAMCOST <= p.level.level.budget;
}

static int proofok(int i, int proof) {
  const packlevel &p = packlevels[i];
  return !proof || (proofholds(p.proof[0]) && (p.cheapest.state != FILE_LOADED || proofholds(p.proof[1])));
}

int levelok(int i, int proof) {
  const packlevel &p = packlevels[i];
  return p.bridge.state == FILE_LOADED && p.verdict.passed && withinbudget(i) && proofok(i, proof);
}

// Bridge k / 2 of the pack, its cheapest one when k is odd, on its level.
static int loadpackproof(int k) {
  const storedfile *b = bridgeof(k / 2, k % 2);
  if (b->state != FILE_LOADED)
    return 0;
  expandfile(b, &scratchbridge);
  expandfile(&packlevels[k / 2].level, &scratchlevel);
  return transplantbridge(&scratchbridge, &scratchlevel);
}

int provepack(int seconds, int workers) {
  static verdictinfo results[MAXPACKLEVELS * 2 * PROOFSECONDS];
  if (!runproofs(loadpackproof, 2 * numofpacklevels, seconds, workers, results))
    return 0;
  for (int i = 0; i < numofpacklevels; i++)
    memcpy(packlevels[i].proof, results + 2 * i * PROOFSECONDS, sizeof packlevels[i].proof);
  return 1;
}

int isrepeat(int k) {
  const storedfile *b = bridgeof(pairs[k].from, pairs[k].kind);
  return pairverdict[k].passed &&
         b->numofbeams * BEAMCOST <= packlevels[pairs[k].onto].level.level.budget;
}

static void makepairs() {
  numofpairs = 0;
  for (int from = 0; from < numofpacklevels; from++)
    for (int kind = 0; kind < 2; kind++)
      for (int onto = 0; onto < numofpacklevels; onto++)
        if (onto != from && bridgeof(from, kind)->state == FILE_LOADED &&
            packlevels[onto].level.state == FILE_LOADED)
          pairs[numofpairs++] = {from, kind, onto};
}

int loadpack(const char *leveldir, const char *bridgedir, const char *cheapestdir) {
  numofpooljoints = numofpoolbeams = 0;
  int unreadable = 0;
  for (int i = 0; i < numofpacklevels; i++) {
    packlevel &p = packlevels[i];
    loadpackfile(&p.level, leveldir, p.name, ".qzl", ".lvl");
    // The game lists any file its pattern takes ("00readme" too); one that
    // is no level must be named, or the exit status says nothing of why.
    if (p.level.state == FILE_MISSING)
      complain("%s/%s: listed as a level, but there is no %s.qzl or %s.lvl", leveldir, p.name,
               p.name, p.name);
    loadpackfile(&p.bridge, bridgedir, p.name, ".qzb", ".brg");
    p.cheapest.state = FILE_MISSING;
    if (cheapestdir)
      loadpackfile(&p.cheapest, cheapestdir, p.name, ".qzb", ".brg");
    unreadable |= p.level.state != FILE_LOADED || p.bridge.state == FILE_UNREADABLE ||
                  p.cheapest.state == FILE_UNREADABLE;
  }
  return !unreadable;
}

int testpack(int seconds, int workers) {
  static verdictinfo results[MAXPACKLEVELS];
  packseconds = seconds;
  if (!runjobs(packjob, numofpacklevels, workers, results))
    return 0;
  for (int i = 0; i < numofpacklevels; i++)
    packlevels[i].verdict = results[i];
  return 1;
}

int crosspack(int seconds, int workers) {
  packseconds = seconds;
  makepairs();
  return runjobs(crossjob, numofpairs, workers, pairverdict);
}
