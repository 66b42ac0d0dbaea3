#include "world/hint.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "shell/fileio.h"
#include "world/level.h"

hintinfo levelhint;

static int ishintbyte(unsigned char c) { return (c >= 32 && c < 127) || c == '\n' || c == '\r' || c == '\t'; }

static int isblank(const char *line) { return line[strspn(line, " ")] == 0; }

// A mark line may carry spaces or a CR around the mark, as editors leave them.
static int ismarkline(const unsigned char *bytes, int length) {
  int start = 0;
  while (length > 0 && (bytes[length - 1] == ' ' || bytes[length - 1] == '\r' || bytes[length - 1] == '\t'))
    length--;
  while (start < length && (bytes[start] == ' ' || bytes[start] == '\t'))
    start++;
  return length - start == (int)strlen(HINTSTEPMARK) && memcmp(bytes + start, HINTSTEPMARK, length - start) == 0;
}

int parsehint(hintinfo *out, const unsigned char *bytes, int size) {
  memset(out, 0, sizeof *out);
  if (size <= 0 || size > MAXHINTBYTES)
    return 0;
  for (int i = 0; i < size; i++)
    if (!ishintbyte(bytes[i]))
      return 0;
  // Within a step, blank lines before the text are skipped and those after
  // it dropped; a blank line between two lines of text is kept as a gap.
  int step = 0, lines = 0;
  for (int i = 0; i < size && step < MAXHINTSTEPS; i++) {
    int start = i;
    while (i < size && bytes[i] != '\n')
      i++;
    if (ismarkline(bytes + start, i - start)) {
      out->numoflines[step++] = lines;
      lines = 0;
      continue;
    }
    if (lines >= MAXHINTLINES)
      continue;
    char *line = out->line[step][lines];
    int length = 0;
    for (int k = start; k < i; k++)
      if (bytes[k] != '\r' && length < HINTLINELENGTH)
        line[length++] = bytes[k] == '\t' ? ' ' : (char)bytes[k];
    line[length] = 0;
    if (lines > 0 || !isblank(line))
      lines++;
  }
  if (step < MAXHINTSTEPS)
    out->numoflines[step] = lines;
  int steps = 0;
  for (int s = 0; s < MAXHINTSTEPS; s++) {
    int *n = &out->numoflines[s];
    while (*n > 0 && isblank(out->line[s][*n - 1]))
      out->line[s][--*n][0] = 0;
  }
  // A step with no text ends the hint: what follows it would never be
  // reached in order.
  while (steps < MAXHINTSTEPS && out->numoflines[steps] > 0)
    steps++;
  for (int s = steps; s < MAXHINTSTEPS; s++) {
    out->numoflines[s] = 0;
    memset(out->line[s], 0, sizeof out->line[s]);
  }
  out->numofsteps = steps;
  return steps;
}

int loadhint(const char *name) {
  clearhint();
  char path[64];
  if (snprintf(path, sizeof path, "%s.txt", name) >= (int)sizeof path)
    return 0;
  FILE *file = openreadfile(path);
  if (!file)
    return 0;
  // One byte more than a hint may have, to tell a full hint from a longer file.
  static unsigned char bytes[MAXHINTBYTES + 1];
  int size = (int)fread(bytes, 1, sizeof bytes, file);
  int failed = ferror(file);
  fclose(file);
  if (failed)
    return 0;
  return parsehint(&levelhint, bytes, size);
}

void clearhint() { memset(&levelhint, 0, sizeof levelhint); }

int countopenhintsteps(const hintinfo *hint, int failed) {
  int open = 0;
  while (open < hint->numofsteps && failed >= HINTSTEPFAILURES[open])
    open++;
  return open;
}

int countfailurestonextstep(const hintinfo *hint, int failed) {
  int open = countopenhintsteps(hint, failed);
  return open < hint->numofsteps ? HINTSTEPFAILURES[open] - failed : 0;
}

// A level file may hold any float; a figure past any crossing's size is
// shown as 0 rather than converted out of range.
static long roundfigure(float v) { return fabsf(v) < 1e6f ? lroundf(v) : 0; }

// The room under the road: down to the water, or to the lowest ground
// between the ends where the gap is dry or the water lies below it.
static long getdepth() {
  float bottom = level.waterlevel;
  float lowest = level.deckheight;
  for (int i = 0; i < NUMTERRAIN; i++) {
    float x = 4.0f * i;
    if (x > level.leftend && x < level.rightend && level.terrain[i] < lowest)
      lowest = level.terrain[i];
  }
  if (lowest > bottom)
    bottom = lowest;
  return roundfigure(level.deckheight - bottom);
}

static int getfigure(const char *name, size_t length, long *value) {
  struct { const char *name; long value; } figures[] = {
      {"span", roundfigure(level.rightend - level.leftend)},
      {"depth", getdepth()},
      {"weight", level.weight},
      {"budget", level.budget},
  };
  for (const auto &f : figures)
    if (strlen(f.name) == length && memcmp(f.name, name, length) == 0) {
      *value = f.value;
      return 1;
    }
  return 0;
}

int fillhintline(char *out, const char *line) {
  int unknown = 0, n = 0;
  for (const char *s = line; *s && n < HINTLINELENGTH;) {
    const char *close = *s == '{' ? strchr(s, '}') : NULL;
    long value;
    if (close && getfigure(s + 1, close - s - 1, &value)) {
      char figure[24];
      snprintf(figure, sizeof figure, "%ld", value);
      for (const char *f = figure; *f && n < HINTLINELENGTH; f++)
        out[n++] = *f;
      s = close + 1;
      continue;
    }
    unknown += *s == '{';
    out[n++] = *s++;
  }
  out[n] = 0;
  return unknown;
}
