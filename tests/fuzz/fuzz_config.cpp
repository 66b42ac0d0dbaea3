// Any "config.txt": reading never fails, and whatever values it yields are
// written back in the fixed format and read back unchanged.
#include "fuzz.h"
#include "shell/config.h"
#include "world/levellist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  writefuzzfile("config.txt", data, size);
  dirnum = 0;
  loadoptions();
  FUZZCHECK(parser.length == (int)std::min(size, (size_t)PARSERBUFFER));
  configinfo read = config;
  int readdirnum = dirnum, readcolorsafe = colorsafe;
  FUZZCHECK(saveoptions() == 1);
  dirnum = 0;
  loadoptions();
  FUZZCHECK(memcmp(&read, &config, sizeof(config)) == 0 && dirnum == readdirnum && colorsafe == readcolorsafe);
  return 0;
}
