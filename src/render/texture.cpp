#include "render/texture.h"

#include <cstdlib>
#include <cstring>

#include "render/text.h"

textureinfo texture[NUMTEXTURES];

int settexturepixels(int slot, unsigned char *pixels, int width, int height) {
  if (slot < 0 || slot >= NUMTEXTURES || !pixels || width <= 0 || height <= 0) {
    free(pixels);
    return 0;
  }
  textureinfo *t = &texture[slot];
  for (int n = 0; n < MAXTEXLEVELS; n++) {
    free(t->data[n]);
    t->data[n] = nullptr;
  }
  t->data[0] = pixels;
  t->width = width;
  t->height = height;
  t->levels = 1;
  t->format = TEXFORMAT_RGBA;
  t->internalformat = TEXFORMAT_RGBA;
  return 1;
}

int generatemipmap(int slot) {
  if (slot < 0 || slot >= NUMTEXTURES)
    return 0;
  textureinfo *t = &texture[slot];
  if (t->width <= 0 || !t->data[0] || (t->format != TEXFORMAT_RGBA && t->format != TEXFORMAT_RGB))
    return 0;
  int levels = 1;
  while ((t->width >> levels) != 0 && levels < MAXTEXLEVELS)
    levels++;
  // Only the width decides the count; a level whose height has already
  // reached 0 is kept 1 row high so every level still has pixels.
  for (int n = 1; n < levels; n++) {
    int w = t->width >> n, h = t->height >> n;
    int pw = t->width >> (n - 1), ph = t->height >> (n - 1);
    if (h < 1)
      h = 1;
    if (ph < 1)
      ph = 1;
    free(t->data[n]);
    t->data[n] = (unsigned char *)malloc((size_t)w * h * 4);
    if (!t->data[n]) {
      levels = n;
      break;
    }
    const unsigned char *src = t->data[n - 1];
    for (int k = 0; k < h; k++)
      for (int l = 0; l < w; l++) {
        int r0 = 2 * k < ph ? 2 * k : ph - 1;
        int r1 = 2 * k + 1 < ph ? 2 * k + 1 : ph - 1;
        const unsigned char *a = src + ((size_t)r0 * pw + 2 * l) * 4;
        const unsigned char *b = src + ((size_t)r1 * pw + 2 * l) * 4;
        unsigned char *d = t->data[n] + ((size_t)k * w + l) * 4;
        for (int ch = 0; ch < 4; ch++)
          d[ch] = (unsigned char)((a[ch] + a[ch + 4] + b[ch] + b[ch + 4]) / 4);
      }
  }
  t->levels = levels;
  return levels;
}

int alignposition(int coordinate, int length) {
  if (coordinate < 0)
    return coordinate;
  if (coordinate & ALIGN_END)
    coordinate = (coordinate & 0xFFFF) - length;
  if (coordinate >= 0 && (coordinate & ALIGN_CENTER))
    coordinate = (coordinate & 0xFFFF) - length / 2;
  return coordinate;
}
