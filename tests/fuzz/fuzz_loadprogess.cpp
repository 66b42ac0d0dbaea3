// Progress files of any length and content: the first 64 whole ints become
// the flags and the rest stay 0. (What a save writes is the progress unit
// test's.)
#include "fuzz.h"
#include "world/levellist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  strcpy(dirlist[0], "Pack");
  dirnum = 0;
  writefuzzfile("bridge/Pack.pro", data, size);
  memset(levelpassed, 0x7f, sizeof(levelpassed));
  loadprogess();
  size_t whole = std::min(size / 4, (size_t)MAXPROGRESS);
  FUZZCHECK(memcmp(levelpassed, data, whole * 4) == 0);
  FUZZCHECK(std::count(levelpassed + whole, levelpassed + MAXPROGRESS, 0) == (long)(MAXPROGRESS - whole));
  return 0;
}
