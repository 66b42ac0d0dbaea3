#include "world/records.h"

#include <climits>
#include <cstring>

#include "world/levellist.h"

recordinfo record[MAXRECORDS];
int numofrecords;

// The whole file in one read; static, as the game allocates nothing while
// it runs.
static char recordtext[RECORDFILELIMIT];
constexpr int RECORDLINE = 96; // longest line written: name, two 10-digit ints

int findrecord(const char *name) {
  for (int i = 0; i < numofrecords; i++)
    if (strcmp(record[i].name, name) == 0)
      return i;
  return -1;
}

// A name goes into one line of the file: no control characters, and short
// enough for a name-list entry.
static int isrecordname(const char *name) {
  size_t length = strnlen(name, NAMELENGTH);
  if (length == 0 || length >= (size_t)NAMELENGTH)
    return 0;
  for (size_t i = 0; i < length; i++)
    if ((unsigned char)name[i] < 32 || name[i] == 127)
      return 0;
  return 1;
}

// The level's record, made empty when there is none; -1 when the name is
// unusable or the table full.
static int makerecord(const char *name) {
  if (!isrecordname(name))
    return -1;
  int i = findrecord(name);
  if (i < 0) {
    if (numofrecords >= MAXRECORDS)
      return -1;
    i = numofrecords++;
    strcpy(record[i].name, name);
    record[i].cost = -1;
    record[i].weight = 0;
    record[i].failed = 0;
  }
  return i;
}

int setfailedtests(const char *name, int failed) {
  int i = makerecord(name);
  if (i < 0 || failed <= record[i].failed)
    return 0;
  record[i].failed = failed;
  return 1;
}

int getfailedtests(const char *name) {
  int i = findrecord(name);
  return i >= 0 ? record[i].failed : 0;
}

int setrecord(const char *name, int cost, int weight) {
  int i = makerecord(name);
  if (i < 0)
    return 0;
  int beaten = 0;
  if (cost >= 0 && (record[i].cost < 0 || cost < record[i].cost)) {
    record[i].cost = cost;
    beaten |= RECORD_COST;
  }
  if (weight > 0 && weight > record[i].weight) {
    record[i].weight = weight;
    beaten |= RECORD_WEIGHT;
  }
  return beaten;
}

// "-" for none, else the digits of any value an int holds: whatever was
// written must read back, a train of 10^9 and more included.
static int parsevalue(const char *text, int none, int *value) {
  if (strcmp(text, "-") == 0) {
    *value = none;
    return 1;
  }
  long long v = 0;
  int n = 0;
  for (; text[n] != 0; n++) {
    if (text[n] < '0' || text[n] > '9')
      return 0;
    v = v * 10 + (text[n] - '0');
    if (v > INT_MAX)
      return 0;
  }
  *value = (int)v;
  return n > 0;
}

// The two numbers are the last two words; everything before them is the
// name, spaces and all.
static void parserecordline(const char *start, size_t length) {
  if (length >= (size_t)RECORDLINE)
    return;
  char line[RECORDLINE];
  memcpy(line, start, length);
  while (length > 0 && (line[length - 1] == '\r' || line[length - 1] == ' '))
    length--;
  line[length] = 0;
  char *weighttext = strrchr(line, ' ');
  if (weighttext == NULL)
    return;
  *weighttext++ = 0;
  char *costtext = strrchr(line, ' ');
  if (costtext == NULL)
    return;
  *costtext++ = 0;
  // "<name> failed <n> tests": here the words before the last are the count
  // and "failed".
  if (strcmp(weighttext, "tests") == 0) {
    char *failedword = strrchr(line, ' ');
    int failed;
    if (failedword != NULL && strcmp(failedword + 1, "failed") == 0 && parsevalue(costtext, 0, &failed)) {
      *failedword = 0;
      setfailedtests(line, failed);
    }
    return;
  }
  int cost, weight;
  if (parsevalue(costtext, -1, &cost) && parsevalue(weighttext, 0, &weight))
    setrecord(line, cost, weight);
}

// Enters every whole line of the pack's file into the table through
// setrecord, so what is already there is kept where it is better.
static void readrecords() {
  char filename[NAMELENGTH + 8];
  if (!makepackfilename(filename, ".rec"))
    return;
  int entered = enterdirectory("bridge");
  FILE *file = openreadfile(filename);
  size_t length = 0;
  if (file != NULL) {
    length = fread(recordtext, 1, RECORDFILELIMIT, file);
    fclose(file);
  }
  leavedirectory(entered);
  // Every line written ends in a newline: one without it was cut short
  // (or runs past what was read), and a cut number must not become a
  // record, so it is skipped.
  size_t start = 0;
  for (size_t i = 0; i < length; i++) {
    if (recordtext[i] != '\n')
      continue;
    parserecordline(recordtext + start, i - start);
    start = i + 1;
  }
}

void loadrecords() {
  numofrecords = 0;
  readrecords();
}

static int writerecord(FILE *file, const recordinfo *r) {
  char cost[16] = "-", weight[16] = "-";
  if (r->cost >= 0)
    snprintf(cost, sizeof cost, "%d", r->cost);
  if (r->weight > 0)
    snprintf(weight, sizeof weight, "%d", r->weight);
  if (fprintf(file, "%s %s %s\n", r->name, cost, weight) < 0)
    return 0;
  return r->failed <= 0 || fprintf(file, "%s failed %d tests\n", r->name, r->failed) >= 0;
}

int saverecords() {
  char filename[NAMELENGTH + 8];
  if (!makepackfilename(filename, ".rec"))
    return 0;
  // Another copy of the game on the same data may have written records
  // since this one read the file: theirs come in first, and the best of
  // both is written.
  readrecords();
  int entered = enterdirectory("bridge");
  savefile save;
  int saved = 0;
  if (beginsave(&save, filename)) {
    // The heading ends in two words that are not numbers, so reading skips
    // it like any other line that does not parse.
    int ok = fprintf(save.file, "# level, lowest passing cost, heaviest train across\n") >= 0;
    for (int i = 0; i < numofrecords && ok; i++)
      ok = writerecord(save.file, &record[i]);
    if (ok)
      saved = endsave(&save);
    else
      cancelsave(&save);
  }
  leavedirectory(entered);
  return saved;
}
