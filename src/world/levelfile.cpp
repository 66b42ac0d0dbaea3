#include "world/levelfile.h"

#include <cassert>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "shell/fileio.h"
#include "world/bridgecheck.h"
#include "world/level.h"

static const unsigned char MAGIC[4] = {'S', 'P', 'N', 'W'};
constexpr int COUNTMASK = 16383;          // counts and joint indices keep 14 bits
constexpr int OLDJOINTWORDS = 23;         // kind, x, y and 20 unused words
constexpr int OLDBEAMWORDS = 6;           // unused, joint1, joint2, kind, 2 unused
constexpr int OLDTERRAIN = 1024;          // columns of the old, wider world
constexpr float OLDSHIFT = 1024.0f;       // old x minus this is the current x
constexpr float VERSION3SHIFT = 512.0f;   // versions 1-3 lay 512 units further left

// A file is read whole into this staging area and checked there; only a file
// that passes every check is copied into the live tables, so a bad file can
// never leave them half overwritten. Static because the tables are too big
// for the stack.
static struct {
  levelinfo level;
  jointinfo joint[MAXJOINTS];
  int numofjoints;
  beaminfo beam[MAXBEAMS];
  int numofbeams;
  uint32_t words[MAXJOINTS * OLDJOINTWORDS]; // raw 4-byte items of one section
  int pairs[MAXBEAMS];                       // beam joint pairs, for the duplicate check
} staging;

struct filereader {
  FILE *file;
  const char *failure; // set by a short read, a foreign magic or an unknown version
};

// Why the last load refused its file, for the player and for level authors;
// a check composes its reason in refusal, which a save's check also uses.
constexpr int REASONLENGTH = 160;
static char loadfailure[REASONLENGTH];
static char refusal[REASONLENGTH];
static const char OUTSIDE[] = "lies outside -4096..4096";
static_assert(WORLDLIMIT == 4096.0f, "the refusal names the limit");

static int makefilename(char *out, const char *name, const char *extension) {
  size_t length = strlen(name);
  // '<' starts the names of temporary files, which no listing shows.
  if (length == 0 || length > (size_t)MAXFILENAME || strchr(name, '/') != NULL || name[0] == '<')
    return 0;
  memcpy(out, name, length);
  memcpy(out + length, extension, strlen(extension) + 1);
  return 1;
}

// Reads count 4-byte items into staging.words; NULL after a short read.
static const uint32_t *readwords(filereader *reader, int count) {
  if (reader->failure)
    return NULL;
  if (count == 0)
    return staging.words;
  if (freadptr(staging.words, 4, (size_t)count, reader->file) != (size_t)count)
    reader->failure = "the file ends early";
  return reader->failure ? NULL : staging.words;
}

static int readint(filereader *reader) {
  const uint32_t *word = readwords(reader, 1);
  return word ? (int)word[0] : 0;
}

static float wordtofloat(uint32_t word) {
  float value;
  memcpy(&value, &word, 4);
  return value;
}

static float readfloat(filereader *reader) {
  const uint32_t *word = readwords(reader, 1);
  return word ? wordtofloat(word[0]) : 0.0f;
}

static int comparepairs(const void *a, const void *b) {
  int x = *(const int *)a, y = *(const int *)b;
  return x < y ? -1 : x > y ? 1 : 0;
}

static const char *refuse(const char *format, ...) __attribute__((format(printf, 1, 2)));
static const char *refuse(const char *format, ...) {
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(refusal, sizeof refusal, format, arguments);
  va_end(arguments);
  return refusal;
}

// Huge coordinates would overflow the view's conversions and spin its grid
// loop, and non-numbers poison every sum; both fail the range test.
static const char *checklevelrange(const levelinfo *l) {
  const char *named[4] = {"the deck height", "the water level", "the left end", "the right end"};
  const float values[4] = {l->deckheight, l->waterlevel, l->leftend, l->rightend};
  for (int k = 0; k < 4; k++)
    if (!isinsideworld(values[k]))
      return refuse("%s %s", named[k], OUTSIDE);
  for (int i = 0; i < NUMTERRAIN; i++)
    if (!isinsideworld(l->terrain[i]))
      return refuse("terrain column %d %s", i, OUTSIDE);
  return NULL;
}

// What every bridge must be to be loaded, and so also to be saved (a file
// the loader refuses would lose the bridge): no more joints or beams than a
// file's counts hold, every coordinate within the world's range, joint and
// beam types 0 or 1, beams between two different existing joints, and no
// two beams on one pair (the editor relies on finding at most one beam per
// pair, and a zero-length beam would become a bond without a direction).
// Beams between two anchors are let through: the editor never builds them,
// but nothing breaks on them either. NULL when it passes, else the reason.
static const char *checktables(const levelinfo *l, const jointinfo *joints, int numjoints,
                               const beaminfo *beams, int numbeams) {
  const char *failure = checklevelrange(l);
  if (failure)
    return failure;
  if (numjoints < 0 || numjoints > MAXFILECOUNT || numbeams < 0 || numbeams > MAXFILECOUNT)
    return "too many joints or beams";
  for (int i = 0; i < numjoints; i++) {
    if (joints[i].type < 0 || joints[i].type > 1)
      return refuse("joint %d is of an unknown kind", i);
    if (!isinsideworld(joints[i].pos.x) || !isinsideworld(joints[i].pos.y))
      return refuse("joint %d %s", i, OUTSIDE);
  }
  for (int i = 0; i < numbeams; i++) {
    const beaminfo *b = &beams[i];
    if (b->type < 0 || b->type > 1)
      return refuse("beam %d is of an unknown kind", i);
    if (b->joint1 < 0 || b->joint1 >= numjoints || b->joint2 < 0 || b->joint2 >= numjoints ||
        b->joint1 == b->joint2)
      return refuse("beam %d does not join two joints", i);
    int low = b->joint1 < b->joint2 ? b->joint1 : b->joint2;
    int high = b->joint1 < b->joint2 ? b->joint2 : b->joint1;
    staging.pairs[i] = low * MAXJOINTS + high;
  }
  qsort(staging.pairs, (size_t)numbeams, sizeof(int), comparepairs);
  for (int i = 1; i < numbeams; i++)
    if (staging.pairs[i] == staging.pairs[i - 1])
      return "two beams join the same two joints";
  return NULL;
}

static const char *checkstaging() {
  return checktables(&staging.level, staging.joint, staging.numofjoints, staging.beam,
                     staging.numofbeams);
}

static void applystaging() {
  level = staging.level;
  numofjoints = staging.numofjoints;
  memcpy(joint, staging.joint, sizeof(jointinfo) * (size_t)numofjoints);
  numofbeams = staging.numofbeams;
  for (int i = 0; i < numofbeams; i++) {
    beam[i].type = staging.beam[i].type;
    beam[i].joint1 = staging.beam[i].joint1;
    beam[i].joint2 = staging.beam[i].joint2;
  }
}

// Opens name+extension for reading inside "level" or "bridge" when that
// subdirectory exists. NULL (and nothing entered) when the name is refused.
static FILE *openlevelfile(char *filename, const char *name, const char *extension,
                           int isbridge, int *entered) {
  *entered = 0;
  if (!makefilename(filename, name, extension))
    return NULL;
  *entered = enterdirectory(isbridge ? "bridge" : "level");
  return openreadfile(filename);
}

static void readcurrent(filereader *reader) {
  levelinfo *l = &staging.level;
  unsigned char magic[4];
  if (freadptr(magic, 1, 4, reader->file) != 4 || memcmp(magic, MAGIC, 4) != 0) {
    reader->failure = "not a level or bridge file";
    return;
  }
  int version = readint(reader);
  if (!reader->failure && (version < 1 || version > LEVELVERSION)) {
    reader->failure = refuse("version %d, not 1 to %d", version, LEVELVERSION);
    return;
  }
  float shift = version <= 3 ? VERSION3SHIFT : 0.0f;
  l->deckheight = readfloat(reader);
  l->waterlevel = readfloat(reader);
  l->leftend = readfloat(reader) + shift;
  l->rightend = readfloat(reader) + shift;
  l->budget = readint(reader);
  l->weight = version >= 2 ? readint(reader) : 40000;
  l->trainstart = version >= 3 ? readint(reader) : 0;
  l->manualdeck = version >= 3 ? readint(reader) : 0;
  l->traintime = version >= 3 ? readint(reader) : 0;

  // Versions 1-3 had 256 columns, which sit in the middle of today's 512.
  int columns = version <= 3 ? NUMTERRAIN / 2 : NUMTERRAIN;
  int first = version <= 3 ? NUMTERRAIN / 4 : 0;
  for (int i = 0; i < NUMTERRAIN; i++)
    l->terrain[i] = 0.0f;
  const uint32_t *words = readwords(reader, columns);
  for (int i = 0; words && i < columns; i++)
    l->terrain[first + i] = wordtofloat(words[i]);

  staging.numofjoints = readint(reader) & COUNTMASK;
  int jointwords = version <= 3 ? 4 : 3; // versions 1-3 carry one unused word
  words = readwords(reader, staging.numofjoints * jointwords);
  for (int i = 0; words && i < staging.numofjoints; i++) {
    const uint32_t *w = words + i * jointwords;
    jointinfo *j = &staging.joint[i];
    j->type = (int)w[0];
    j->pos.x = wordtofloat(w[1]) + shift;
    j->pos.y = wordtofloat(w[2]);
  }

  staging.numofbeams = readint(reader) & COUNTMASK;
  words = readwords(reader, staging.numofbeams * 3);
  for (int i = 0; words && i < staging.numofbeams; i++) {
    beaminfo *b = &staging.beam[i];
    b->type = (int)words[i * 3];
    b->joint1 = (int)(words[i * 3 + 1] & COUNTMASK);
    b->joint2 = (int)(words[i * 3 + 2] & COUNTMASK);
  }
}

static void readold(filereader *reader, int isbridge) {
  levelinfo *l = &staging.level;
  if (isbridge && readint(reader) != 1 && !reader->failure) {
    reader->failure = "not a bridge file of the older kind";
    return;
  }
  l->waterlevel = readfloat(reader);
  l->deckheight = readfloat(reader);
  l->budget = readint(reader);
  l->leftend = readfloat(reader) - OLDSHIFT;
  l->rightend = readfloat(reader) - OLDSHIFT;
  l->weight = 40000;
  l->trainstart = 0;
  l->manualdeck = 0;
  l->traintime = 0;

  // The old world was 1024 columns wide; its middle 512 are today's level.
  const uint32_t *words = readwords(reader, OLDTERRAIN);
  for (int i = 0; words && i < NUMTERRAIN; i++)
    l->terrain[i] = wordtofloat(words[NUMTERRAIN / 2 + i]);

  staging.numofjoints = readint(reader) & COUNTMASK;
  words = readwords(reader, staging.numofjoints * OLDJOINTWORDS);
  for (int i = 0; words && i < staging.numofjoints; i++) {
    const uint32_t *w = words + i * OLDJOINTWORDS;
    jointinfo *j = &staging.joint[i];
    j->type = (int)w[0] == 2 ? 0 : 1;
    j->pos.x = wordtofloat(w[1]) - OLDSHIFT;
    j->pos.y = wordtofloat(w[2]);
  }

  staging.numofbeams = 0;
  if (!isbridge)
    return;
  staging.numofbeams = readint(reader) & COUNTMASK;
  words = readwords(reader, staging.numofbeams * OLDBEAMWORDS);
  for (int i = 0; words && i < staging.numofbeams; i++) {
    const uint32_t *w = words + i * OLDBEAMWORDS;
    beaminfo *b = &staging.beam[i];
    b->joint1 = (int)(w[1] & COUNTMASK);
    b->joint2 = (int)(w[2] & COUNTMASK);
    b->type = (int)w[3] == 2 ? 1 : 0;
  }
}

// A file that is there but refused is told on the notice line with its
// reason: the player would otherwise see the previous level or an empty
// bridge and not know why. A missing file is an ordinary case (most levels
// have no older-format file) and says nothing.
static void tellrefusal(const char *filename, const char *reason) {
  char shown[SAVEPATHLENGTH];
  getshownname(shown, sizeof shown, filename);
  recordloadfailure(shown, reason);
}

// Both formats are read into the staging tables and applied only when the
// whole file checked out, so a bad file leaves what was loaded untouched.
// Reads name into the staging tables and checks it there. NULL when it may
// be applied, else why not; with `tell`, a file that is there but refused
// is told on the notice line (a check of a whole list tells nothing).
static const char *stagefile(const char *name, int isbridge, int old, int tell) {
  const char *extension = old ? (isbridge ? ".brg" : ".lvl") : (isbridge ? ".qzb" : ".qzl");
  char filename[NAMELENGTH];
  int entered;
  FILE *file = openlevelfile(filename, name, extension, isbridge, &entered);
  const char *failure = "it cannot be opened as a file";
  if (file != NULL) {
    filereader reader = {file, NULL};
    if (old)
      readold(&reader, isbridge);
    else
      readcurrent(&reader);
    fclose(file);
    failure = reader.failure ? reader.failure : checkstaging();
    if (failure != NULL && tell)
      tellrefusal(filename, failure);
  }
  leavedirectory(entered);
  return failure;
}

static int loadstaged(const char *name, int isbridge, int old) {
  const char *failure = stagefile(name, isbridge, old, 1);
  if (failure == NULL) {
    applystaging();
    assert(checkbridgetables(1));
  }
  snprintf(loadfailure, sizeof loadfailure, "%s", failure ? failure : "");
  return failure == NULL;
}

const char *getloadfailure() { return loadfailure[0] ? loadfailure : NULL; }

int loadlevel(const char *name, int isbridge) { return loadstaged(name, isbridge, 0); }

int loadoldlevel(const char *name, int isbridge) { return loadstaged(name, isbridge, 1); }

int checklevelfile(const char *name, int isbridge) {
  return stagefile(name, isbridge, 1, 0) == NULL || stagefile(name, isbridge, 0, 0) == NULL;
}

static int writeints(const void *values, int count, FILE *file) {
  return fwriteptr(values, 4, (size_t)count, file) == (size_t)count ? 1 : 0;
}

static int writelevel(FILE *file) {
  int version = LEVELVERSION;
  int ok = fwriteptr(MAGIC, 1, 4, file) == 4;
  ok = ok && writeints(&version, 1, file);
  ok = ok && writeints(&level.deckheight, 1, file) && writeints(&level.waterlevel, 1, file);
  ok = ok && writeints(&level.leftend, 1, file) && writeints(&level.rightend, 1, file);
  ok = ok && writeints(&level.budget, 1, file) && writeints(&level.weight, 1, file);
  ok = ok && writeints(&level.trainstart, 1, file) && writeints(&level.manualdeck, 1, file);
  ok = ok && writeints(&level.traintime, 1, file);
  ok = ok && writeints(level.terrain, NUMTERRAIN, file);
  ok = ok && writeints(&numofjoints, 1, file);
  for (int i = 0; ok && i < numofjoints; i++)
    ok = writeints(&joint[i].type, 1, file) && writeints(&joint[i].pos, 2, file);
  ok = ok && writeints(&numofbeams, 1, file);
  for (int i = 0; ok && i < numofbeams; i++)
    ok = writeints(&beam[i].type, 1, file) && writeints(&beam[i].joint1, 1, file) &&
         writeints(&beam[i].joint2, 1, file);
  return ok;
}

int savelevel(const char *name, int isbridge) {
  char filename[NAMELENGTH];
  if (!makefilename(filename, name, isbridge ? ".qzb" : ".qzl") ||
      checktables(&level, joint, numofjoints, beam, numofbeams) != NULL)
    return 0;
  int entered = enterdirectory(isbridge ? "bridge" : "level");
  savefile save;
  int saved = 0;
  if (beginsave(&save, filename)) {
    if (writelevel(save.file))
      saved = endsave(&save);
    else
      cancelsave(&save);
  }
  leavedirectory(entered);
  return saved;
}
