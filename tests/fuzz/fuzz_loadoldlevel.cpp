// Older header-less level and bridge files; the first input byte picks the
// kind. Applied whole and sane, or nothing changes.
#include "fuzz.h"
#include "world/levelfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0)
    return 0;
  int isbridge = data[0] & 1;
  setupknowntables();
  const std::string before = snapshottables();
  writefuzzfile(isbridge ? "bridge/f.brg" : "level/f.lvl", data + 1, size - 1);
  if (!loadoldlevel("f", isbridge)) {
    FUZZCHECK(snapshottables() == before);
    return 0;
  }
  FUZZCHECK(checkbridgetables(1) && (isbridge || numofbeams == 0));
  return 0;
}
