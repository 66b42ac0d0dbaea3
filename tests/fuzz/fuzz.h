// What every fuzz target shares: a private scratch directory with the
// "level" and "bridge" folders the loaders read from, a check that stops the
// run with its input kept in every build mode.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "world/bridgecheck.h"
#include "world/level.h"

#define FUZZCHECK(c) ((c) ? (void)0 : (fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #c), abort()))

static std::string fuzzdirectory;

static void removefuzzdirectory() {
  if (chdir("/") == 0 && system(("rm -rf '" + fuzzdirectory + "'").c_str()) != 0)
    fprintf(stderr, "could not remove %s\n", fuzzdirectory.c_str());
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  const char *base = getenv("TMPDIR");
  fuzzdirectory = std::string(base && *base ? base : "/tmp") + "/spanwright-fuzz-XXXXXX";
  if (mkdtemp(&fuzzdirectory[0]) == NULL || chdir(fuzzdirectory.c_str()) != 0 || mkdir("bridge", 0777) != 0 ||
      mkdir("level", 0777) != 0)
    abort();
  atexit(removefuzzdirectory);
  return 0;
}

static inline void writefuzzfile(const char *name, const uint8_t *data, size_t size) {
  FILE *file = fopen(name, "wb");
  FUZZCHECK(file != NULL && fwrite(data, 1, size, file) == size);
  fclose(file);
}

// Everything a refused load must leave alone, for a byte-wise comparison
// (the records hold only ints and floats: no padding to tell two copies apart).
static inline std::string snapshottables() {
  std::string out((const char *)&level, sizeof level);
  out.append((const char *)joint, sizeof joint).append((const char *)beam, sizeof beam);
  return out.append((const char *)&numofjoints, sizeof(int)).append((const char *)&numofbeams, sizeof(int));
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
