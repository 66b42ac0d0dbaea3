#include "render/text.h"

#include <cstdio>
#include <cstring>

fontinfo font[NUMFONTS];
int fontnum;
char textstring2[TEXTBUFFER];
char textstring3[TEXTBUFFER];

// Append src to out[*length], never past the last byte of the buffer: one
// long "/s" argument may overrun the 1000-byte check, which is only made
// between source characters, so the buffer edge is the real limit.
static void appendtext(char *out, int *length, const char *src) {
  while (*src && *length < TEXTBUFFER - 1)
    out[(*length)++] = *src++;
  out[*length] = 0;
}

// Thousands separators: 1234567 -> "1,234,567". Negative values are not
// grouped, since every branch tests v against positive thresholds.
static void formatgrouped(char *out, int v) {
  char part[16];
  out[0] = 0;
  if (v >= 1000000) {
    snprintf(part, sizeof part, "%d,", v / 1000000);
    strcat(out, part);
  }
  if (v >= 1000) {
    snprintf(part, sizeof part, v < 1000000 ? "%d," : "%.3d,", (v / 1000) % 1000);
    strcat(out, part);
  }
  snprintf(part, sizeof part, v < 1000 ? "%d" : "%.3d", v < 1000 ? v : v % 1000);
  strcat(out, part);
}

int expandtext(char *out, const char *format, va_list args) {
  int length = 0;
  out[0] = 0;
  const char *p = format;
  while (*p && length < TEXTLIMIT) {
    if (*p != '/') {
      out[length++] = *p++;
      out[length] = 0;
      continue;
    }
    p++;
    textstring3[0] = 0;
    switch (*p) {
    case '/':
      snprintf(textstring3, TEXTBUFFER, "/");
      break;
    case 'i':
      snprintf(textstring3, TEXTBUFFER, "%d", va_arg(args, int));
      break;
    case 'u':
      snprintf(textstring3, TEXTBUFFER, "%u", va_arg(args, unsigned));
      break;
    case 'x':
      snprintf(textstring3, TEXTBUFFER, "%X", va_arg(args, unsigned));
      break;
    case 'f':
      snprintf(textstring3, TEXTBUFFER, "%f", va_arg(args, double));
      break;
    case 's': {
      const char *s = va_arg(args, const char *);
      snprintf(textstring3, TEXTBUFFER, "%s", s ? s : "");
      break;
    }
    case 'c':
      textstring3[0] = (char)va_arg(args, int);
      textstring3[1] = 0;
      break;
    case 'I':
      formatgrouped(textstring3, va_arg(args, int));
      break;
    default:
      // Not an escape: the '/' is dropped and the character (or the end of
      // the format) is handled as ordinary text.
      continue;
    }
    p++;
    appendtext(out, &length, textstring3);
  }
  out[length] = 0;
  return length;
}

int expandtextf(char *out, const char *format, ...) {
  va_list args;
  va_start(args, format);
  int length = expandtext(out, format, args);
  va_end(args);
  return length;
}

int measuretext(const char *text, int size) {
  const float *advance = font[fontnum].glyphwidth;
  int width = 0;
  for (const unsigned char *c = (const unsigned char *)text; *c; c++)
    width = (int)((float)width + (float)size * advance[*c]);
  return width;
}

void setfontresolution(int w, int h) {
  font[fontnum].resx = w;
  font[fontnum].resy = h;
}

// Any non-zero alpha in column x, rows y0..y1 inclusive (rows bottom first)?
static int columninked(const unsigned char *pixels, int width, int x, int y0, int y1) {
  for (int y = y0; y <= y1; y++)
    if (pixels[((size_t)y * width + x) * 4 + 3])
      return 1;
  return 0;
}

int measurefont(fontinfo *f, unsigned char *pixels, int width, int height) {
  int cell = width >> 4;
  // The 16 rows of cells must fit in the image, or the scan of the lower
  // rows would read past the pixels.
  if (!pixels || cell < 2 || height < cell * 16)
    return 0;
  // The glyph region is one cell high: 16 pixels for a 256-wide image, and
  // proportionally more for a larger one, so a finer font image scales its
  // glyphs instead of being cut at 16 rows. Advances are in units of it.
  float glyphheight = (float)cell;
  // The linear filter reads half a texel beyond a texture coordinate, so a
  // glyph box drawn right to its cell's edge picks up the neighbouring cell:
  // a thin line under a small "o", whose cell has the solid block's below.
  // A font image finer than 16-pixel cells is mipmapped to one level down
  // (text_gl.cpp), so its glyph boxes are drawn half a texel of that level,
  // 1 pixel, inside their cells; the image keeps that border free of ink
  // (tools/assets/makefont.cpp), and drawtext insets the quads by the same
  // share, so nothing is stretched. A 16-pixel-cell image is drawn at its
  // own size or larger, where a 1/64-pixel inset keeps the filter inside
  // the glyph as long as its edge pixels are clear.
  const float inset = width > MIPMAPPEDFONTWIDTH ? 1.0f : 1.0f / 64.0f;
  f->glyphinset = inset / glyphheight;

  for (int y = height - cell; y < height; y++)
    for (int x = 0; x < cell; x++) {
      unsigned char *p = pixels + ((size_t)y * width + x) * 4;
      p[0] = p[1] = p[2] = p[3] = 255;
    }

  for (int c = 0; c < 256; c++) {
    int x0 = (c & 15) * cell;
    int yb = (15 - c / 16) * cell;
    float w = 1.0f;
    while (w < cell - 1 && columninked(pixels, width, x0 + (int)w, yb + 1, yb + cell - 1))
      w += 1.0f;
    if (c == 32)
      w = cell * 0.375f;
    float *t = f->glyphtexcoord[c];
    if (c == 127) {
      for (int k = 0; k < 4; k++) {
        t[k * 2] = cell * 0.5f;
        t[k * 2 + 1] = height - cell * 0.5f;
      }
    } else {
      float top = yb + cell - inset, bottom = yb + cell - glyphheight + inset;
      float left = x0 + inset, right = x0 + w - inset;
      const float corners[8] = {left, top, right, top, right, bottom, left, bottom};
      memcpy(t, corners, sizeof corners);
    }
    for (int k = 0; k < 4; k++) {
      t[k * 2] /= (float)width;
      t[k * 2 + 1] /= (float)height;
    }
    f->glyphwidth[c] = w / glyphheight;
  }
  return 1;
}
