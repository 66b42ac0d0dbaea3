// Progress files of any length and content: the first 64 whole ints become
// the flags, the rest stay 0, and a save writes them back byte for byte.
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
  for (size_t i = whole; i < MAXPROGRESS; i++)
    FUZZCHECK(levelpassed[i] == 0);
  FUZZCHECK(saveprogess() == 1);
  unsigned char bytes[4 * MAXPROGRESS + 1];
  FILE *file = fopen("bridge/Pack.pro", "rb");
  FUZZCHECK(file != NULL);
  size_t length = fread(bytes, 1, sizeof(bytes), file);
  fclose(file);
  FUZZCHECK(length == 4 * MAXPROGRESS && memcmp(bytes, levelpassed, length) == 0);
  return 0;
}
