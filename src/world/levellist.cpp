#include "world/levellist.h"

#include <cstring>

#include "world/levelfile.h"

char levellist[MAXNAMES][NAMELENGTH];
char levellist2[MAXNAMES][NAMELENGTH];
int levelpassed[MAXPROGRESS];
int dirnum;
int levelnum = -1;
int levelreadable[MAXNAMES];

// Pack names come from a 32-byte entry, so ".pro" always fits here; a pack
// name of 28 to 31 characters keeps its progress too.
constexpr int PROGRESSNAME = NAMELENGTH + 8;

const char *getpackname() {
  if (dirnum < 0 || dirnum >= MAXNAMES - 1)
    return "";
  // Entries after the terminating empty one may hold stale names.
  for (int i = 0; i < dirnum; i++)
    if (dirlist[i][0] == 0)
      return "";
  if (memchr(dirlist[dirnum], 0, NAMELENGTH) == NULL)
    return "";
  return dirlist[dirnum];
}

static int countnames(char list[][NAMELENGTH]) {
  int count = 0;
  while (count < MAXNAMES - 1 && list[count][0] != 0)
    count++;
  return count;
}

static void cutextensions(int count) {
  for (int i = 0; i < count; i++) {
    char *dot = strchr(levellist[i], '.');
    if (dot != NULL)
      *dot = 0;
  }
}

int getlevellist() {
  int enteredlevel = enterdirectory("level");
  int enteredpack = enterdirectory(getpackname());
  listfiles("*.qzl", levellist, 0);
  int count = countnames(levellist);
  if (count == 0) {
    listfiles("*.lvl", levellist, 0);
    count = countnames(levellist);
  }
  cutextensions(count);
  leavedirectory(enteredpack);
  leavedirectory(enteredlevel);
  loadprogess();
  return count;
}

void checklevellist(int count) {
  int enteredlevel = enterdirectory("level");
  int enteredpack = enterdirectory(getpackname());
  for (int i = 0; i < count && i < MAXNAMES; i++)
    levelreadable[i] = checklevelfile(levellist[i], 0);
  leavedirectory(enteredpack);
  leavedirectory(enteredlevel);
}

static int flagof(int j) { return levelpassed[j < MAXPROGRESS ? j : MAXPROGRESS - 1]; }

int getlevellook(int j) {
  if (j < 0 || j >= MAXNAMES || !levelreadable[j])
    return LEVEL_UNREADABLE;
  if (j < MAXPROGRESS && levelpassed[j])
    return LEVEL_PASSED;
  int before = j - 1;
  while (before >= 0 && !levelreadable[before])
    before--;
  return before < 0 || flagof(before) ? LEVEL_OPEN : LEVEL_LOCKED;
}

int getbridgelist() {
  int enteredbridge = enterdirectory("bridge");
  int enteredpack = enterdirectory(getpackname());
  listfiles("*.qzb", levellist, 0);
  int count = countnames(levellist);
  listfiles("*.brg", levellist2, 0);
  int oldcount = countnames(levellist2);
  // Both lists may be full; the combined list keeps what fits.
  for (int i = 0; i < oldcount && count < MAXNAMES - 1; i++, count++)
    memcpy(levellist[count], levellist2[i], NAMELENGTH);
  levellist[count][0] = 0;
  cutextensions(count);
  leavedirectory(enteredpack);
  leavedirectory(enteredbridge);
  return count;
}

int makepackfilename(char *out, const char *extension) {
  const char *pack = getpackname();
  size_t length = strlen(pack);
  if (strchr(pack, '/') != NULL || length + strlen(extension) + 1 > (size_t)PROGRESSNAME)
    return 0;
  memcpy(out, pack, length);
  memcpy(out + length, extension, strlen(extension) + 1);
  return 1;
}

static int makeprogressname(char *out) { return makepackfilename(out, ".pro"); }

// Up to 64 flags of the pack's progress file into `flags`, which stays as
// it is past what the file holds; 0 when there is no file to read.
static int readprogress(const char *filename, int flags[MAXPROGRESS]) {
  FILE *file = openreadfile(filename);
  if (file == NULL)
    return 0;
  // Read into a copy: fread leaves the value of a partly read element
  // undefined, and only whole elements may become flags.
  int staged[MAXPROGRESS] = {0};
  size_t count = freadptr(staged, 4, MAXPROGRESS, file);
  fclose(file);
  memcpy(flags, staged, count * sizeof(int));
  return 1;
}

int saveprogess() {
  char filename[PROGRESSNAME];
  if (!makeprogressname(filename))
    return 0;
  int entered = enterdirectory("bridge");
  // Another copy of the game on the same data may have passed levels since
  // this one read the file: a level passed in either stays passed.
  int ondisk[MAXPROGRESS] = {0};
  if (readprogress(filename, ondisk))
    for (int i = 0; i < MAXPROGRESS; i++)
      if (levelpassed[i] == 0)
        levelpassed[i] = ondisk[i];
  savefile save;
  int saved = 0;
  if (beginsave(&save, filename)) {
    if (fwriteptr(levelpassed, 4, MAXPROGRESS, save.file) == (size_t)MAXPROGRESS)
      saved = endsave(&save);
    else
      cancelsave(&save);
  }
  leavedirectory(entered);
  return saved;
}

void loadprogess() {
  memset(levelpassed, 0, sizeof(levelpassed));
  char filename[PROGRESSNAME];
  if (!makeprogressname(filename))
    return;
  int entered = enterdirectory("bridge");
  readprogress(filename, levelpassed);
  leavedirectory(entered);
}
