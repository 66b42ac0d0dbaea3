#include "shell/config.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/fileio.h"
#include "world/levellist.h"

configinfo config;
windowstate windowinfo;
parserinfo parser;
int colorsafe;
int soundon = 1;
int soundvolume = DEFAULTVOLUME;

void loadtextfile(const char *path) {
  parser.length = 0;
  FILE *file = openreadfile(path);
  if (file != NULL) {
    // A longer file is read up to the buffer's end; the settings keys all
    // sit at its start.
    parser.length = (int)fread(parser.buffer, 1, PARSERBUFFER, file);
    fclose(file);
  }
  parser.position = 0;
}

void resetparser() {
  parser.position = 0;
}

int checkstring(const char *name) {
  if (parser.position < 0)
    return 0;
  for (int i = 0; name[i] != 0; i++) {
    if (parser.position + i >= parser.length)
      return 0;
    if (parser.buffer[parser.position + i] != (unsigned char)name[i])
      return 0;
  }
  return 1;
}

// The cursor never moves back: a failed search leaves it past the end, so
// every later search of the same load fails too. Keys must therefore appear
// in the order they are looked for.
int findstring(const char *name) {
  while (parser.position < parser.length && !checkstring(name))
    parser.position++;
  int length = (int)strlen(name);
  // Stop short of overflow however often a search runs off the end.
  if (parser.position <= INT_MAX - length)
    parser.position += length;
  return parser.position < parser.length ? 1 : 0;
}

static int isaccepted(const char *accept, unsigned char c) {
  return c != 0 && strchr(accept, c) != NULL;
}

// Copies the next run of characters from accept into parser.number, after
// skipping everything else; 0 when the text ends first.
static int copynumber(const char *accept) {
  while (parser.position >= 0 && parser.position < parser.length &&
         !isaccepted(accept, parser.buffer[parser.position]))
    parser.position++;
  int count = 0;
  while (parser.position >= 0 && parser.position < parser.length &&
         count < (int)sizeof(parser.number) - 1 &&
         isaccepted(accept, parser.buffer[parser.position]))
    parser.number[count++] = (char)parser.buffer[parser.position++];
  parser.number[count] = 0;
  return count;
}

// The value after a key, in "%d" terms: an optional '-' and digits, the
// rest of the run ignored. Values beyond an int are clamped rather than
// left to the undefined overflow of a scanf conversion. 0 when there is
// nothing to convert.
static int readint(int *value) {
  if (copynumber("0123456789-") == 0)
    return 0;
  char *end;
  errno = 0;
  long converted = strtol(parser.number, &end, 10);
  if (end == parser.number)
    return 0;
  if (converted > INT_MAX)
    converted = INT_MAX;
  if (converted < INT_MIN)
    converted = INT_MIN;
  *value = (int)converted;
  return 1;
}

int getint() {
  int value = 0;
  readint(&value);
  return value;
}

float getfloat() {
  if (copynumber("0123456789-.") == 0)
    return 0.0f;
  return strtof(parser.number, NULL);
}

// A value the game cannot use is not a choice worth keeping: a damaged or
// hostile size would be tried at every start (a huge one takes seconds and
// memory, a tiny one gives an unusable window). Such values become the
// defaults, and so are never written back. A plausible mode the display
// refuses is kept: that is the player's choice on another monitor.
static void checkoptions() {
  if (config.screenwidth < MINSCREENWIDTH || config.screenwidth > MAXSCREENSIDE ||
      config.screenheight < MINSCREENHEIGHT || config.screenheight > MAXSCREENSIDE) {
    config.screenwidth = 800;
    config.screenheight = 600;
  }
  if (config.colordepth != 16 && config.colordepth != 24 && config.colordepth != 32)
    config.colordepth = 32;
  if (config.fullscreen != 0 && config.fullscreen != 1)
    config.fullscreen = 0;
}

// A line searched from the start of the file, so that it does not depend
// on the five keys before it; a key without a number keeps the value.
static void readsetting(const char *key, int *value) {
  resetparser();
  if (findstring(key))
    readint(value);
}

void loadoptions() {
  memset(&config, 0, sizeof(config));
  config.screenwidth = 800;
  config.screenheight = 600;
  config.colordepth = 32;
  config.depthbits = 16;
  config.stencilbits = 0;

  loadtextfile("config.txt");
  // A key with no number after it keeps its default.
  static const char *const keys[] = {"screenwidth", "screenheight", "colordepth",
                                     "fullscreen", "directory"};
  int *const fields[] = {&config.screenwidth, &config.screenheight, &config.colordepth,
                         &config.fullscreen, &dirnum};
  for (int i = 0; i < 5; i++)
    if (findstring(keys[i]))
      readint(fields[i]);
  checkoptions();
  // Searched from the start, so a file missing one of the five keys (which
  // sends the cursor past the end) still keeps this one.
  colorsafe = 0;
  resetparser();
  if (findstring("colorsafe"))
    colorsafe = getint() != 0;
  soundon = 1;
  soundvolume = DEFAULTVOLUME;
  readsetting("sound", &soundon);
  readsetting("volume", &soundvolume);
  soundon = soundon != 0;
  soundvolume = soundvolume < 0 ? 0 : soundvolume > 100 ? 100 : soundvolume;
}

int saveoptions() {
  savefile save;
  if (!beginsave(&save, "config.txt"))
    return 0;
  // Written with "wb" semantics: the CR LF pairs go out as they stand.
  int written = fprintf(save.file,
                        "screenwidth=%d\r\nscreenheight=%d\r\ncolordepth=%d\r\n"
                        "fullscreen=%d\r\ndirectory=%d\r\n",
                        config.screenwidth, config.screenheight, config.colordepth,
                        config.fullscreen, dirnum);
  if (written >= 0 && colorsafe)
    written = fprintf(save.file, "colorsafe=1\r\n");
  if (written >= 0 && !soundon)
    written = fprintf(save.file, "sound=0\r\n");
  if (written >= 0 && soundvolume != DEFAULTVOLUME)
    written = fprintf(save.file, "volume=%d\r\n", soundvolume);
  if (written < 0) {
    cancelsave(&save);
    return 0;
  }
  return endsave(&save);
}
