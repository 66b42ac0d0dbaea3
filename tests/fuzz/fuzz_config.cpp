// Any "config.txt": reading never fails, and whatever values it yields are
// written back in the fixed format and read back unchanged.
#include <cstring>

#include "fuzzdir.h"
#include "shell/config.h"
#include "world/levellist.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enterfuzzdirectory();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  writefuzzfile("config.txt", data, size);
  dirnum = 0;
  loadoptions();
  FUZZCHECK(parser.length >= 0 && parser.length <= PARSERBUFFER);
  FUZZCHECK(parser.length == (int)(size < (size_t)PARSERBUFFER ? size : PARSERBUFFER));
  configinfo read = config;
  int readdirnum = dirnum;
  windowinfo.screenwidth = config.screenwidth;
  windowinfo.screenheight = config.screenheight;
  windowinfo.colordepth = config.colordepth;
  windowinfo.fullscreen = config.fullscreen;
  FUZZCHECK(saveoptions() == 1);
  dirnum = 0;
  loadoptions();
  FUZZCHECK(memcmp(&read, &config, sizeof(config)) == 0);
  FUZZCHECK(dirnum == readdirnum);
  return 0;
}
