// The mouse cursor: an arrow whose tip is at the centre of a 64x64 image,
// because the game draws the cursor image centred on the pointer. White
// body, dark outline and a soft shadow, antialiased by 8x8 supersampling.
//
// Usage: makecursor out.png
#include <cmath>
#include <cstdio>
#include <vector>

#include "imagefile.h"

constexpr int SIZE = 64;
constexpr int SAMPLES = 8;

// The arrow in image pixels, tip first, clockwise.
static const float arrow[][2] = {
    {32.0f, 32.0f}, {32.0f, 57.0f}, {37.5f, 51.5f}, {42.0f, 61.5f},
    {46.5f, 59.5f}, {42.0f, 49.5f}, {50.0f, 49.5f},
};
constexpr int CORNERS = sizeof arrow / sizeof arrow[0];

static int inside(float x, float y, float dx, float dy) {
  int crossings = 0;
  for (int i = 0, j = CORNERS - 1; i < CORNERS; j = i++) {
    float xi = arrow[i][0] + dx, yi = arrow[i][1] + dy;
    float xj = arrow[j][0] + dx, yj = arrow[j][1] + dy;
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
      crossings ^= 1;
  }
  return crossings;
}

// Distance from (x, y) to the outline, for the border.
static float edgedistance(float x, float y) {
  float best = 1e9f;
  for (int i = 0, j = CORNERS - 1; i < CORNERS; j = i++) {
    float ax = arrow[j][0], ay = arrow[j][1], bx = arrow[i][0], by = arrow[i][1];
    float vx = bx - ax, vy = by - ay;
    float t = ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy);
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    float d = std::hypot(x - ax - t * vx, y - ay - t * vy);
    if (d < best)
      best = d;
  }
  return best;
}

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: makecursor out.png\n");
    return 2;
  }
  std::vector<unsigned char> image((size_t)SIZE * SIZE * 4, 0);
  for (int y = 0; y < SIZE; y++)
    for (int x = 0; x < SIZE; x++) {
      float body = 0, border = 0, shadow = 0;
      for (int sy = 0; sy < SAMPLES; sy++)
        for (int sx = 0; sx < SAMPLES; sx++) {
          float px = x + (sx + 0.5f) / SAMPLES, py = y + (sy + 0.5f) / SAMPLES;
          int in = inside(px, py, 0, 0);
          if (in) {
            if (edgedistance(px, py) < 2.0f)
              border += 1;
            else
              body += 1;
          }
          if (inside(px, py, 1.5f, 2.0f))
            shadow += 1;
        }
      float n = SAMPLES * SAMPLES;
      body /= n, border /= n, shadow = shadow / n * 0.35f;
      // Paint shadow, then the dark border and white body over it.
      float a = shadow, r = 0, g = 0, b = 0;
      float cover = body + border;
      float shade = cover > 0 ? (body * 1.0f + border * 0.08f) / cover : 0;
      float outa = cover + a * (1 - cover);
      if (outa > 0) {
        r = g = b = (shade * cover) / outa;
      }
      unsigned char *p = &image[((size_t)y * SIZE + x) * 4];
      p[0] = p[1] = p[2] = (unsigned char)std::lround(r * 255);
      p[3] = (unsigned char)std::lround(outa * 255);
    }
  if (!writepng(argv[1], image.data(), SIZE, SIZE)) {
    fprintf(stderr, "makecursor: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
