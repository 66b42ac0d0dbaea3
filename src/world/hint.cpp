#include "world/hint.h"

#include <cstdio>
#include <cstring>

#include "shell/fileio.h"

hintinfo levelhint;

static int ishintbyte(unsigned char c) { return (c >= 32 && c < 127) || c == '\n' || c == '\r' || c == '\t'; }

int parsehint(hintinfo *out, const unsigned char *bytes, int size) {
  memset(out, 0, sizeof *out);
  if (size <= 0 || size > MAXHINTBYTES)
    return 0;
  for (int i = 0; i < size; i++)
    if (!ishintbyte(bytes[i]))
      return 0;
  // Blank lines before the text are skipped and those after it dropped; a
  // blank line between two lines of text is kept as a gap.
  int lines = 0;
  for (int i = 0; i < size && lines < MAXHINTLINES; i++) {
    char *line = out->line[lines];
    int length = 0;
    for (; i < size && bytes[i] != '\n'; i++)
      if (bytes[i] != '\r' && length < HINTLINELENGTH)
        line[length++] = bytes[i] == '\t' ? ' ' : (char)bytes[i];
    line[length] = 0;
    if (lines > 0 || strspn(line, " ") < (size_t)length)
      lines++;
  }
  while (lines > 0 && strspn(out->line[lines - 1], " ") == strlen(out->line[lines - 1]))
    out->line[--lines][0] = 0;
  out->numoflines = lines;
  return lines;
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
  unsigned char bytes[MAXHINTBYTES + 1];
  int size = (int)fread(bytes, 1, sizeof bytes, file);
  int failed = ferror(file);
  fclose(file);
  if (failed)
    return 0;
  return parsehint(&levelhint, bytes, size);
}

void clearhint() { memset(&levelhint, 0, sizeof levelhint); }
