#include "render/screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#include "shell/fileio.h"

char screenshotname[13];

void maketgaheader(unsigned char *header, int width, int height) {
  for (int i = 0; i < TGAHEADERSIZE; i++)
    header[i] = 0;
  header[2] = 2; // uncompressed true colour
  header[12] = (unsigned char)(width & 255);
  header[13] = (unsigned char)((width >> 8) & 255);
  header[14] = (unsigned char)(height & 255);
  header[15] = (unsigned char)((height >> 8) & 255);
  header[16] = 24;
  header[17] = 0; // no alpha bits, origin bottom left
}

void getscreenshotname(char *name, int number) {
  snprintf(name, 13, "scsht%03d.tga", number < 0 ? 0 : number % 1000);
}

int findscreenshotnumber() {
  char name[13];
  for (int number = 0; number < 1000; number++) {
    getscreenshotname(name, number);
    // Any entry counts as taken, a dangling link too: the save would go
    // through it.
    struct stat status;
    if (lstat(name, &status) != 0)
      return number;
  }
  return -1;
}

int writetga(const char *name, const unsigned char *rgba, int width, int height) {
  // The header holds 16-bit sizes; a larger frame cannot be described.
  unsigned char *row = NULL;
  if (rgba && width > 0 && height > 0 && width <= 65535 && height <= 65535)
    row = (unsigned char *)malloc((size_t)width * 3);
  if (!row) {
    recordsavefailure(name);
    return 0;
  }
  savefile save;
  if (!beginsave(&save, name)) {
    free(row);
    return 0;
  }
  unsigned char header[TGAHEADERSIZE];
  maketgaheader(header, width, height);
  int ok = fwrite(header, 1, TGAHEADERSIZE, save.file) == TGAHEADERSIZE;
  for (int y = 0; y < height && ok; y++) {
    const unsigned char *src = rgba + (size_t)y * width * 4;
    for (int x = 0; x < width; x++) {
      row[x * 3] = src[x * 4 + 2];
      row[x * 3 + 1] = src[x * 4 + 1];
      row[x * 3 + 2] = src[x * 4];
    }
    ok = fwrite(row, 3, width, save.file) == (size_t)width;
  }
  free(row);
  if (!ok) {
    cancelsave(&save);
    return 0;
  }
  return endsave(&save);
}
