// Current-format level and bridge files: a file is either applied whole and
// sane (and then saves and reloads to the same tables) or changes nothing.
#include "fuzz.h"
#include "world/levelfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  setupknowntables();
  const std::string before = snapshottables();
  writefuzzfile("bridge/f.qzb", data, size);
  if (!loadlevel("f", 1)) {
    FUZZCHECK(snapshottables() == before);
    return 0;
  }
  FUZZCHECK(checkbridgetables(1) && savelevel("g", 1) == 1);
  const std::string after = snapshottables();
  setupknowntables();
  FUZZCHECK(loadlevel("g", 1) == 1 && snapshottables() == after);
  return 0;
}
