#include "screens/playerbridge.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "geometry/hash.h"
#include "shell/fileio.h"
#include "ui/notice.h"
#include "world/level.h"
#include "world/levelfile.h"
#include "world/levellist.h"

constexpr int ASIDETRIES = 10; // "<name>.unreadable", then "-2" to "-10"

static int exists(const char *path) {
  struct stat status;
  return lstat(path, &status) == 0;
}

static int enterpack(int *enteredbase, int make) {
  *enteredbase = enterdirectory("bridge");
  const char *pack = getpackname();
  if (make && pack[0])
    mkdir(pack, 0777); // an existing pack is kept
  return enterdirectory(pack);
}

int loadplayerbridge(const char *name) {
  int enteredbase, result = BRIDGE_NONE;
  int enteredpack = enterpack(&enteredbase, 0);
  if (enteredpack) {
    char current[NAMELENGTH + 8], old[NAMELENGTH + 8];
    snprintf(current, sizeof current, "%s.qzb", name);
    snprintf(old, sizeof old, "%s.brg", name);
    int oldloaded = loadoldlevel(name, 1);
    int loaded = loadlevel(name, 1);
    // The current file decides when it is there; the older one only
    // without it.
    if (loaded || (oldloaded && !exists(current)))
      result = BRIDGE_LOADED;
    else if (exists(current) || exists(old))
      result = BRIDGE_UNREADABLE;
    if (result == BRIDGE_UNREADABLE)
      setnotice(NOTICE_ERROR, "Could not read bridge/%s/%s: it is kept", getpackname(),
                exists(current) ? current : old);
  }
  leavedirectory(enteredpack);
  leavedirectory(enteredbase);
  return result;
}

// Renames the unreadable "<name>.qzb" to the first free "<name>.unreadable"
// name, never over another file. 1 when there is no such file any more.
static int moveaside(const char *name) {
  char current[NAMELENGTH + 8], aside[NAMELENGTH + 24];
  snprintf(current, sizeof current, "%s.qzb", name);
  if (!exists(current))
    return 1;
  for (int k = 1; k <= ASIDETRIES; k++) {
    if (k == 1)
      snprintf(aside, sizeof aside, "%s.unreadable", name);
    else
      snprintf(aside, sizeof aside, "%s.unreadable-%d", name, k);
    if (exists(aside))
      continue;
    if (rename(current, aside) != 0)
      return 0;
    setnotice(NOTICE_INFO, "The unreadable bridge is kept as %s", aside);
    return 1;
  }
  return 0;
}

int saveplayerbridge(const char *name, int loaded, uint64_t loadedhash) {
  if (loaded == BRIDGE_UNREADABLE && hashbridge(HASHSTART) == loadedhash)
    return 0;
  int enteredbase;
  int enteredpack = enterpack(&enteredbase, 1);
  int saved = 0;
  if (loaded != BRIDGE_UNREADABLE || moveaside(name)) {
    saved = savelevel(name, 1);
  } else {
    // Named as the notice line names a file, from the start directory.
    char shown[NAMELENGTH * 2 + 16];
    snprintf(shown, sizeof shown, "bridge/%s/%s.qzb", getpackname(), name);
    notesavefailure(shown);
  }
  leavedirectory(enteredpack);
  leavedirectory(enteredbase);
  return saved;
}
