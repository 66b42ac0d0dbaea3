// The window icon: a 32x32 truss bridge over water between two banks.
//
// Usage: makeicon out.bmp
#include <cmath>
#include <cstdio>
#include <vector>

#include "imagefile.h"

constexpr int SIZE = 32;
static std::vector<unsigned char> image(SIZE * SIZE * 3);

static void plot(int x, int y, int r, int g, int b) {
  if (x < 0 || y < 0 || x >= SIZE || y >= SIZE)
    return;
  unsigned char *p = &image[(y * SIZE + x) * 3];
  p[0] = (unsigned char)r, p[1] = (unsigned char)g, p[2] = (unsigned char)b;
}

static void line(int x0, int y0, int x1, int y1, int r, int g, int b) {
  int steps = std::abs(x1 - x0) > std::abs(y1 - y0) ? std::abs(x1 - x0) : std::abs(y1 - y0);
  for (int i = 0; i <= steps; i++) {
    int x = x0 + (steps ? (x1 - x0) * i / steps : 0);
    int y = y0 + (steps ? (y1 - y0) * i / steps : 0);
    plot(x, y, r, g, b);
  }
}

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: makeicon out.bmp\n");
    return 2;
  }
  for (int y = 0; y < SIZE; y++)
    for (int x = 0; x < SIZE; x++) {
      int sky = 150 + y * 3;
      plot(x, y, 70, 120, sky > 255 ? 255 : sky);
    }
  // Water, then the two banks.
  for (int y = 23; y < SIZE; y++)
    for (int x = 0; x < SIZE; x++)
      plot(x, y, 20, 60 + (y - 23) * 4, 150);
  for (int y = 17; y < SIZE; y++)
    for (int x = 0; x < SIZE; x++)
      if (x < 5 + (y - 17) / 3 || x > 26 - (y - 17) / 3)
        plot(x, y, 90 + (y & 1) * 10, 70, 40);
  for (int x = 0; x < SIZE; x++)
    if (x < 5 || x > 26)
      plot(x, 17, 80, 160, 60);
  // Deck and a Warren truss above it.
  for (int x = 2; x < 30; x++) {
    plot(x, 17, 240, 240, 240);
    plot(x, 18, 200, 200, 200);
  }
  int r = 200, g = 60, b = 40;
  line(5, 10, 26, 10, r, g, b);
  for (int k = 0; k < 3; k++) {
    int x = 5 + k * 7;
    line(x, 16, x + 3, 10, r, g, b);
    line(x + 3, 10, x + 7, 16, r, g, b);
  }
  line(5, 16, 5, 10, r, g, b);
  line(26, 16, 26, 10, r, g, b);
  if (!writebmp(argv[1], image.data(), SIZE, SIZE)) {
    fprintf(stderr, "makeicon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
