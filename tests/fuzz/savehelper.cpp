// Test helper for interrupted saves. Run inside a data directory as
//   spanwright-savehelper seed            writes a small bridge, level, progress and settings
//   spanwright-savehelper <kind>          saves a different, large version of one of them
// with kind bridge, level, progress or config, each saved the way the game
// saves it (bridge and level inside their pack directory). Exit status 0
// when the save reported success, 2 when it reported failure; a save killed
// by the file-size limit never returns.
#include <cstring>
#include <sys/stat.h>

#include "shell/config.h"
#include "shell/fileio.h"
#include "world/level.h"
#include "world/levelfile.h"
#include "world/levellist.h"

// A chain of joints saved into top/Pack; a large one is cut off midway by a
// small file-size limit.
static int savechain(const char *top, int isbridge, int joints) {
  createlevel();
  numofjoints = joints;
  numofbeams = 0;
  for (int j = 0; j < joints; j++) {
    joint[j] = {j < 2 ? 0 : 1, {(float)j * 0.125f, 40.0f + (float)(j % 5)}};
    if (j > 0 && numofbeams < MAXBEAMS)
      beam[numofbeams++] = {0, j - 1, j, 0, 0, 0.0f};
  }
  mkdir(top, 0777);
  int enteredtop = enterdirectory(top);
  mkdir("Pack", 0777);
  int enteredpack = enterdirectory("Pack");
  int saved = savelevel(isbridge ? "b" : "l", isbridge);
  leavedirectory(enteredpack);
  leavedirectory(enteredtop);
  return saved;
}

int main(int argc, char **argv) {
  if (argc != 2)
    return 1;
  checkbigendian();
  strcpy(dirlist[0], "Pack");
  dirnum = 0;
  int seed = strcmp(argv[1], "seed") == 0, ok = 1;
  int joints = seed ? 8 : MAXJOINTS - 1;
  if (seed || strcmp(argv[1], "bridge") == 0)
    ok = ok && savechain("bridge", 1, joints);
  if (seed || strcmp(argv[1], "level") == 0)
    ok = ok && savechain("level", 0, joints);
  if (seed || strcmp(argv[1], "progress") == 0) {
    mkdir("bridge", 0777);
    for (int i = 0; i < MAXPROGRESS; i++)
      levelpassed[i] = seed ? i < 3 : 1;
    ok = ok && saveprogess();
  }
  if (seed || strcmp(argv[1], "config") == 0) {
    config.screenwidth = seed ? 800 : 1280;
    config.screenheight = seed ? 600 : 1024;
    config.colordepth = 32;
    config.fullscreen = !seed;
    ok = ok && saveoptions();
  }
  return ok ? 0 : 2;
}
