// Renders the printable ASCII characters of a TrueType font into the game's
// 16x16 glyph-cell image: character c in column c%16, row c/16, each glyph
// at the left edge of its 32-pixel cell, white with alpha = coverage.
//
// The game measures a glyph's advance as the run of inked columns from the
// cell's left edge, so a glyph with a gap (the two ticks of '"') or with
// side bearings would measure too narrow. Each cell therefore carries a
// spacer: one row near the bottom with alpha 1 across the glyph's full
// advance. It counts as ink for the measurement but is invisible on screen.
//
// The game draws small text from one mipmap level down, where a texel spans
// 2 pixels, and keeps its texture coordinates PAD pixels inside each
// glyph's box so that the filter never reaches a neighbouring cell. The ink
// must therefore stay PAD pixels clear of the cell's top and bottom, of its
// left edge and of the end of its advance, or that inset would cut it.
//
// Usage: makefont font.ttf out.png
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "imagefile.h"

constexpr int CELL = 32;
constexpr int IMAGE = CELL * 16;
constexpr int PAD = 1;            // clear pixels around the ink, as the game's inset
constexpr int SPACERROW = CELL - 2; // from the top; the lowest row is never measured

struct glyphbox {
  int top, bottom;   // ink rows above and below the baseline
  int left;          // first ink column, at least PAD
  int right;         // ink extent from the pen
  int advance;
};

static int measureglyph(FT_Face face, int c, glyphbox *box) {
  if (FT_Load_Char(face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
    return 0;
  FT_GlyphSlot g = face->glyph;
  box->top = g->bitmap_top;
  box->bottom = (int)g->bitmap.rows - g->bitmap_top;
  box->left = g->bitmap_left > PAD ? g->bitmap_left : PAD;
  box->right = box->left + (int)g->bitmap.width;
  box->advance = (int)std::lround(g->advance.x / 64.0);
  return 1;
}

// The largest pixel size at which every printable character fits a cell.
static int choosesize(FT_Face face, int *baseline) {
  for (int size = CELL; size > 8; size--) {
    FT_Set_Pixel_Sizes(face, 0, size);
    int top = 0, bottom = 0, widest = 0;
    for (int c = 33; c < 127; c++) {
      glyphbox box;
      if (!measureglyph(face, c, &box))
        continue;
      if (box.top > top)
        top = box.top;
      if (box.bottom > bottom)
        bottom = box.bottom;
      int w = box.advance > box.right + PAD ? box.advance : box.right + PAD;
      if (w > widest)
        widest = w;
    }
    if (top + bottom + 2 * PAD <= CELL && widest <= CELL - 1) {
      *baseline = PAD + top;
      return size;
    }
  }
  return 0;
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: makefont font.ttf out.png\n");
    return 2;
  }
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) || FT_New_Face(library, argv[1], 0, &face)) {
    fprintf(stderr, "makefont: cannot read %s\n", argv[1]);
    return 1;
  }
  int baseline = 0;
  int size = choosesize(face, &baseline);
  if (!size) {
    fprintf(stderr, "makefont: the font does not fit %d-pixel cells\n", CELL);
    return 1;
  }
  FT_Set_Pixel_Sizes(face, 0, size);

  std::vector<unsigned char> image((size_t)IMAGE * IMAGE * 4, 0);
  for (size_t i = 0; i < image.size(); i += 4)
    image[i] = image[i + 1] = image[i + 2] = 255; // white, so filtering never darkens edges
  auto alpha = [&](int x, int y) -> unsigned char & { return image[((size_t)y * IMAGE + x) * 4 + 3]; };

  int digitwidth = CELL / 2;
  for (int c = 32; c < 127; c++) {
    glyphbox box;
    if (!measureglyph(face, c, &box))
      continue;
    FT_GlyphSlot g = face->glyph;
    int x0 = (c & 15) * CELL, y0 = (c / 16) * CELL;
    for (unsigned row = 0; row < g->bitmap.rows; row++)
      for (unsigned col = 0; col < g->bitmap.width; col++) {
        int x = box.left + (int)col, y = baseline - g->bitmap_top + (int)row;
        if (x >= CELL - 1 || y < 0 || y >= CELL)
          continue;
        unsigned char v = g->bitmap.buffer[row * g->bitmap.pitch + col];
        if (v > alpha(x0 + x, y0 + y))
          alpha(x0 + x, y0 + y) = v;
      }
    int advance = box.advance > box.right + PAD ? box.advance : box.right + PAD;
    if (advance > CELL - 1)
      advance = CELL - 1;
    if (c == '0')
      digitwidth = advance;
    for (int x = 0; x < advance; x++)
      if (!alpha(x0 + x, y0 + SPACERROW))
        alpha(x0 + x, y0 + SPACERROW) = 1;
  }
  // 127 is the solid block: its advance is what the game uses for it.
  {
    int x0 = (127 & 15) * CELL, y0 = (127 / 16) * CELL;
    for (int y = PAD; y < CELL - PAD; y++)
      for (int x = 0; x < digitwidth; x++)
        alpha(x0 + x, y0 + y) = 255;
  }
  if (!writepng(argv[2], image.data(), IMAGE, IMAGE)) {
    fprintf(stderr, "makefont: cannot write %s\n", argv[2]);
    return 1;
  }
  printf("makefont: %s at %d pixels, baseline %d, in %d-pixel cells\n", argv[1], size, baseline, CELL);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  return 0;
}
