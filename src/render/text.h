// Bitmap-font text in the 640x480 virtual screen. The font image is a 16x16
// grid of glyph cells; each glyph's advance is measured from the image's
// alpha when it is loaded, so any font drawn at the left edge of its cells
// works. Expansion and measurement are headless (text.cpp); uploading and
// drawing are text_gl.cpp.
#pragma once

#include <cstdarg>

// Position flags carried above the low 16 bits of a 2D coordinate. The menu
// items and the textured rectangles take the same bits.
#define ALIGN_CENTER 0x10000
#define ALIGN_END 0x20000
#define TEXT_SOLID 0x40000 // x only: every character as a solid block

constexpr int NUMFONTS = 4;
constexpr int FONTSLOT = 1000;     // texture slot of the font image
constexpr int TEXTLIMIT = 1000;    // expansion stops once this many bytes are out
constexpr int TEXTBUFFER = 1024;
// A wider font image is drawn below its size at the common text sizes and
// gets one mipmap level; one level, so that the glyph boxes' inset in their
// cells (measurefont) covers the filter at every size.
constexpr int MIPMAPPEDFONTWIDTH = 256;
constexpr int FONTMIPLEVELS = 2;

struct fontinfo {
  int resx;                     // virtual screen width, 640
  int resy;                     // virtual screen height, 480
  int texture;                  // texture slot of the image
  int cursor;                   // this frame's cursor: texture slot 768 + cursor
  float glyphwidth[256];        // advance in units of the text size
  float glyphtexcoord[256][8];  // (s, t) of top-left, top-right, bottom-right, bottom-left
  float glyphinset;             // the glyph boxes' inset in their cells, in units of the text size
};

extern fontinfo font[NUMFONTS];
extern int fontnum;
extern char textstring2[TEXTBUFFER]; // the expanded text of the last drawtext
extern char textstring3[TEXTBUFFER]; // one converted argument

// Expand `format` with its escapes ("//", "/i", "/u", "/x", "/f", "/s", "/c",
// "/I") into `out` (TEXTBUFFER bytes), always NUL-terminated. Returns the
// length written.
int expandtext(char *out, const char *format, va_list args);
int expandtextf(char *out, const char *format, ...);

// Width in virtual pixels of `text` at glyph height `size` in the current
// font, truncated after every character as the pen advances.
int measuretext(const char *text, int size);

// Measure the 256 glyphs of a font image held bottom row first, 4 bytes per
// pixel (RGBA), into `f`: widths and texture corners. Character 0's cell is
// first painted opaque white (it becomes the solid fill of character 127).
// An image narrower than 16 pixels is refused (returns 0, `f` unchanged).
int measurefont(fontinfo *f, unsigned char *pixels, int width, int height);

// A plain built-in font image (256x256, RGBA, bottom row first) for when the
// font file cannot be read; the caller owns the buffer. Null when out of memory.
unsigned char *makefallbackfont(int *width, int *height);

void setfontresolution(int w, int h);

// GL (text_gl.cpp).
void loadfont(int slot, const char *filename);
void setuptextdisplay();
// Arguments after alpha: int for "/i" "/u" "/x" "/I" "/c", double for "/f",
// const char * for "/s". alpha is a double because the argument before the
// "..." must not be one that promotes.
void drawtext(const char *format, int x, int y, int size, float red, float green,
              float blue, double alpha, ...);
