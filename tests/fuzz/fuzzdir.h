// Every fuzz target works in a private scratch directory: the loaders read
// files from the current directory, so each input is written to a file there.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

static std::string fuzzdirectory;

static inline void removefuzzdirectory() {
  if (fuzzdirectory.empty() || chdir("/") != 0)
    return;
  std::string command = "rm -rf '" + fuzzdirectory + "'";
  if (system(command.c_str()) != 0)
    fprintf(stderr, "could not remove %s\n", fuzzdirectory.c_str());
}

static inline void enterfuzzdirectory() {
  const char *base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/spanwright-fuzz-XXXXXX";
  if (mkdtemp(&pattern[0]) == NULL || chdir(pattern.c_str()) != 0)
    abort();
  fuzzdirectory = pattern;
  atexit(removefuzzdirectory);
}

static inline void writefuzzfile(const char *name, const uint8_t *data, size_t size) {
  FILE *file = fopen(name, "wb");
  if (file == NULL)
    abort();
  if (size > 0 && fwrite(data, 1, size, file) != size)
    abort();
  fclose(file);
}

// A finding must stop the run with the input saved, in every build mode.
#define FUZZCHECK(condition)                                                   \
  do {                                                                         \
    if (!(condition)) {                                                        \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      abort();                                                                 \
    }                                                                          \
  } while (0)
