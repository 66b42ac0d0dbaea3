// Writes a bridge file that fills the joint and beam tables about as far as
// a bridge can while leaving the train its bonds: a braced lattice 4 units
// apart over the whole view of the furthest zoom (x 768 to 1280), standing
// on a row of anchors down in the water and held by three more rows of
// anchors on the way up, so that it stands under its own weight; its top
// row is the deck at 32.
//   lattice FILE
#include <stdint.h>
#include <stdio.h>
#include <string.h>

enum { COLUMNS = 129, ROWS = 42 };

static FILE *out;
static void putint(int32_t v) {
  unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16),
                        (unsigned char)(v >> 24)};
  fwrite(b, 1, 4, out);
}
static void putfloat(float f) {
  int32_t v;
  memcpy(&v, &f, 4);
  putint(v);
}
static int node(int c, int r) { return r * COLUMNS + c; }
static int anchorrow(int r) { return r % 10 == 9 || r == ROWS - 1; }

int main(int argc, char **argv) {
  if (argc != 2 || !(out = fopen(argv[1], "wb")))
    return 1;
  fwrite("SPNW", 1, 4, out);
  putint(4);
  putfloat(32);   // deck height
  putfloat(-40);  // water level
  putfloat(768);  // left end
  putfloat(1280); // right end
  putint(2000000);
  putint(40000);
  putint(0);      // the train starts on the left
  putint(0);
  putint(1);      // train time
  for (int i = 0; i < 512; i++)
    putfloat(4 * i < 766 || 4 * i > 1282 ? 32.0f : -160.0f);
  putint(COLUMNS * ROWS);
  for (int r = 0; r < ROWS; r++)
    for (int c = 0; c < COLUMNS; c++) {
      putint(anchorrow(r) ? 0 : 1);
      putfloat(768.0f + 4.0f * (float)c);
      putfloat(32.0f - 4.0f * (float)r);
    }
  int beams = 0;
  for (int pass = 0; pass < 2; pass++) {
    if (pass)
      putint(beams);
    for (int r = 0; r < ROWS - 1; r++)
      for (int c = 0; c < COLUMNS; c++) {
        int here = node(c, r), below = node(c, r + 1);
        int edges[3][3] = {{r == 0, here, node(c + 1, r)}, {0, here, below}, {0, here, node(c + 1, r + 1)}};
        for (int e = 0; e < 3; e++) {
          if ((e != 1 && c == COLUMNS - 1) || (e == 0 && anchorrow(r)))
            continue;
          if (pass) {
            putint(edges[e][0]);
            putint(edges[e][1]);
            putint(edges[e][2]);
          } else {
            beams++;
          }
        }
      }
  }
  return fclose(out) != 0;
}
