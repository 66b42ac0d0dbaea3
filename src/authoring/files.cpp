#include "authoring/files.h"

#include <errno.h>
#include <stdarg.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/fileio.h"
#include "world/levelfile.h"
#include "world/levellist.h"

const char *toolname = "spanwright-verify";

void complain(const char *format, ...) {
  va_list list;
  va_start(list, format);
  fprintf(stderr, "%s: ", toolname);
  vfprintf(stderr, format, list);
  fprintf(stderr, "\n");
  va_end(list);
}

int isdirectory(const char *path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// The game's loaders take a bare name relative to
// the current directory: enter the file's directory for the call and come
// back. Returns 1, or 0 with the reason in `why`.
int loadgamefile(const char *path, const char **why) {
  const char *slash = strrchr(path, '/');
  const char *base = slash ? slash + 1 : path;
  const char *dot = strrchr(base, '.');
  if (!dot) {
    *why = "no .qzl, .qzb, .lvl or .brg extension";
    return 0;
  }
  int isbridge, old;
  if (!strcmp(dot, ".qzl"))
    isbridge = 0, old = 0;
  else if (!strcmp(dot, ".qzb"))
    isbridge = 1, old = 0;
  else if (!strcmp(dot, ".lvl"))
    isbridge = 0, old = 1;
  else if (!strcmp(dot, ".brg"))
    isbridge = 1, old = 1;
  else {
    *why = "not a .qzl, .qzb, .lvl or .brg file";
    return 0;
  }
  errno = 0;
  FILE *probe = openreadfile(path);
  if (!probe) {
    *why = errno ? strerror(errno) : "not a regular file";
    return 0;
  }
  fclose(probe);
  char name[64];
  size_t length = (size_t)(dot - base);
  if (length == 0 || length > (size_t)MAXFILENAME) {
    *why = "file name too long for the game (at most 27 characters before the extension)";
    return 0;
  }
  memcpy(name, base, length);
  name[length] = 0;

  int back = open(".", O_RDONLY | O_DIRECTORY);
  if (back < 0) {
    *why = "cannot note the current directory";
    return 0;
  }
  int loaded = 0;
  if (slash) {
    char dir[PATH_MAX];
    size_t dirlength = (size_t)(slash - path);
    if (dirlength == 0)
      dirlength = 1; // "/name.qzl"
    if (dirlength >= sizeof(dir)) {
      close(back);
      *why = "path too long";
      return 0;
    }
    memcpy(dir, path, dirlength);
    dir[dirlength] = 0;
    if (chdir(dir) != 0) {
      close(back);
      *why = strerror(errno);
      return 0;
    }
  }
  // The game's loaders first look in a "bridge" or "level" subdirectory:
  // beside such a one they would read another file than the one named.
  const char *sub = isbridge ? "bridge" : "level";
  if (isdirectory(sub))
    *why = isbridge ? "its directory has a \"bridge\" subdirectory, where the game's loader would look instead"
                    : "its directory has a \"level\" subdirectory, where the game's loader would look instead";
  else if (!(loaded = old ? loadoldlevel(name, isbridge) : loadlevel(name, isbridge))) {
    static char refused[256];
    snprintf(refused, sizeof refused, "not a valid level or bridge file: %s", getloadfailure());
    *why = refused;
  }
  int restored = fchdir(back);
  close(back);
  (void)restored;
  return loaded;
}

static char savemessage[PATH_MAX + 160];

// The game's save writes a bare name in the current directory, atomically;
// so enter FILE's directory, refusing one where the save would go into a
// "bridge" subdirectory instead.
int savegamebridge(const char *path, const char **why) {
  *why = savemessage;
  const char *slash = strrchr(path, '/');
  const char *base = slash ? slash + 1 : path;
  size_t length = strlen(base);
  if (length < 5 || strcmp(base + length - 4, ".qzb") != 0 || length - 4 > (size_t)MAXFILENAME) {
    snprintf(savemessage, sizeof savemessage, "%s: the output must be NAME.qzb, NAME at most %d characters", path,
             MAXFILENAME);
    return 0;
  }
  char name[NAMELENGTH], dir[PATH_MAX];
  memcpy(name, base, length - 4);
  name[length - 4] = 0;
  snprintf(dir, sizeof dir, "%.*s", slash ? (int)(slash == path ? 1 : slash - path) : 1, slash ? path : ".");
  int back = open(".", O_RDONLY | O_DIRECTORY), saved = 0;
  if (back >= 0 && chdir(dir) == 0) {
    if (isdirectory("bridge"))
      snprintf(savemessage, sizeof savemessage,
               "%s: its directory has a \"bridge\" subdirectory, where the game's save would write instead", path);
    else if (!(saved = savelevel(name, 1)))
      snprintf(savemessage, sizeof savemessage, "%s: could not be written", path);
    if (fchdir(back) != 0) {
      snprintf(savemessage, sizeof savemessage, "%s: could not go back to the working directory", path);
      saved = 0;
    }
  } else {
    snprintf(savemessage, sizeof savemessage, "%s: %s", dir, strerror(errno));
  }
  if (back >= 0)
    close(back);
  return saved;
}

// BRIDGE "x/01 Name.qzb" gives "x/01 Name min.qzb".
int makeminname(const char *bridge, char *out, size_t size) {
  size_t length = strlen(bridge);
  const char *dot = strrchr(bridge, '.');
  if (!dot || strchr(dot, '/'))
    dot = bridge + length;
  return snprintf(out, size, "%.*s min.qzb", (int)(dot - bridge), bridge) < (int)size;
}
