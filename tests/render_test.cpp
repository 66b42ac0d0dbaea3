#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "render/screenshot.h"
#include "render/text.h"
#include "render/texture.h"
#include "render/view.h"
#include "render/world.h"
#include "shell/input.h"
#include "shell/system.h"
#include "shell/video.h"
#include "tempdir.h"

static std::string expand(const char *format, ...) {
  char out[TEXTBUFFER];
  memset(out, 'Z', sizeof out);
  va_list args;
  va_start(args, format);
  int length = expandtext(out, format, args);
  va_end(args);
  EXPECT_EQ(length, (int)strlen(out));
  return out;
}

TEST(Text, Expansion) {
  // Integers, with and without a sign in front.
  EXPECT_EQ(expand("+/i", 42), "+42");
  EXPECT_EQ(expand("/i//", -7), "-7/");
  EXPECT_EQ(expand("/u /x", 4000000000u, 255), "4000000000 FF");
  EXPECT_EQ(expand("/f", 1.5), "1.500000");
  EXPECT_EQ(expand("[/s]", "abc"), "[abc]");
  // Grouped thousands, and negative values left ungrouped.
  EXPECT_EQ(expand("/I", 1234567), "1,234,567");
  EXPECT_EQ(expand("/I", 1000005), "1,000,005");
  EXPECT_EQ(expand("/I", 999), "999");
  EXPECT_EQ(expand("/I", 1000), "1,000");
  EXPECT_EQ(expand("/I", -12345), "-12345");
  // One character; 0 adds nothing and consumes its argument.
  EXPECT_EQ(expand("/c/c/i", 'A', 0, 5), "A5");
  // Not an escape: the '/' is dropped, the letter stays; a final '/' vanishes.
  EXPECT_EQ(expand("a/qb/"), "aqb");
}

TEST(Text, ExpansionLimits) {
  // Plain text stops at 1000 characters.
  std::string longformat(1500, 'a');
  EXPECT_EQ(expand(longformat.c_str()).size(), 1000u);
  // The limit is checked before each source character: an argument that
  // starts below it is appended whole.
  std::string format = std::string(999, 'a') + "/s";
  std::string arg(20, 'b');
  EXPECT_EQ(expand(format.c_str(), arg.c_str()).size(), 1019u);
  // ...but never past the buffer, however long the argument.
  std::string huge(5000, 'c');
  EXPECT_EQ(expand("/s", huge.c_str()).size(), (size_t)TEXTBUFFER - 1);
  EXPECT_EQ(expand(format.c_str(), huge.c_str()).size(), (size_t)TEXTBUFFER - 1);
}

// A font image, bottom row first, with ink placed per glyph cell.
struct testimage {
  int width, height, cell;
  std::vector<unsigned char> pixels;
  testimage(int w, int h) : width(w), height(h), cell(w / 16), pixels((size_t)w * h * 4, 0) {}
  // Ink at column x, row y of character c's cell, counted from the cell's top.
  void ink(int c, int x, int y) {
    int px = (c & 15) * cell + x;
    int py = height - 1 - ((c / 16) * cell + y);
    pixels[((size_t)py * width + px) * 4 + 3] = 200;
  }
  void column(int c, int x, int top, int bottom) {
    for (int y = top; y <= bottom; y++)
      ink(c, x, y);
  }
  unsigned char alpha(int px, int py) { return pixels[((size_t)py * width + px) * 4 + 3]; }
};

TEST(Text, GlyphMeasurement) {
  testimage image(256, 256), fine(512, 512);
  for (int x = 0; x < 10; x++)
    image.column('A', x, 2, 12);
  image.column('A', 12, 2, 12);       // after a gap: not part of the glyph
  for (int x = 0; x < 16; x++)
    image.column('W', x, 0, 14);      // ink in every column
  image.ink('.', 0, 15);              // only in the cell's lowest row
  image.ink('.', 1, 15);
  image.column('i', 1, 4, 12);        // starts one column in
  for (int x = 0; x < 20; x++)
    fine.column('M', x, 4, 28);       // a finer image: relative to its own cell
  int fw = 0, fh = 0;
  unsigned char *fallback = makefallbackfont(&fw, &fh);
  ASSERT_TRUE(fallback != nullptr && fw == 256 && fh == 256);
  struct {
    unsigned char *pixels;
    int size, c;
    float width;
  } rows[] = {{image.pixels.data(), 256, 'A', 10 / 16.0f}, {image.pixels.data(), 256, 'W', 15 / 16.0f},
              {image.pixels.data(), 256, '.', 1 / 16.0f},  {image.pixels.data(), 256, 'i', 2 / 16.0f},
              {image.pixels.data(), 256, 'z', 1 / 16.0f},  {image.pixels.data(), 256, ' ', 6 / 16.0f},
              {fine.pixels.data(), 512, 'M', 20 / 32.0f},  {fine.pixels.data(), 512, ' ', 6 / 16.0f},
              {fallback, 256, '!', 12 / 16.0f},            {fallback, 256, '~', 12 / 16.0f},
              {fallback, 256, 'l', 12 / 16.0f},            {fallback, 256, ' ', 6 / 16.0f}};
  for (const auto &r : rows) {
    fontinfo f{};
    ASSERT_EQ(measurefont(&f, r.pixels, r.size, r.size), 1);
    EXPECT_FLOAT_EQ(f.glyphwidth[r.c], r.width) << (char)r.c << " at " << r.size;
    // texture corners inside the image, clockwise from the top left; 127
    // (the solid block) one point in its cell
    const float *t = f.glyphtexcoord[r.c], *block = f.glyphtexcoord[127];
    EXPECT_TRUE(t[0] > 0 && t[0] < t[2] && t[2] < 1 && t[1] < 1 && t[5] > 0 && t[5] < t[1]) << (char)r.c;
    for (int k = 1; k < 4; k++)
      EXPECT_TRUE(block[2 * k] == block[0] && block[2 * k + 1] == block[1] && block[0] < 1 && block[1] < 1) << k;
  }
  EXPECT_EQ(fallback[0] & fallback[1] & fallback[2], 255);  // white, the ink is alpha
  // every glyph starts below the top row of its cell
  for (int c = 32; c < 127; c++)
    for (int x = 0; x < 16; x++)
      ASSERT_EQ(fallback[((size_t)(255 - (c / 16) * 16) * 256 + (c & 15) * 16 + x) * 4 + 3], 0) << c;
  free(fallback);
  // Character 0's cell turned opaque white.
  EXPECT_EQ(image.alpha(0, 255), 255);
  EXPECT_EQ(image.pixels[((size_t)240 * 256 + 15) * 4], 255);
  EXPECT_EQ(image.alpha(16, 255), 0);
  // Images too small or too short for 16 rows of cells are refused whole.
  fontinfo untouched{};
  untouched.glyphwidth['M'] = 0.5f;
  std::vector<unsigned char> shortimage(256 * 100 * 4, 255);
  EXPECT_EQ(measurefont(&untouched, shortimage.data(), 256, 100), 0);
  EXPECT_EQ(measurefont(&untouched, shortimage.data(), 8, 8), 0);
  EXPECT_EQ(measurefont(&untouched, nullptr, 256, 256), 0);
  EXPECT_FLOAT_EQ(untouched.glyphwidth['M'], 0.5f);
}

TEST(Text, Measurement) {
  fontinfo saved = font[0];
  fontnum = 0;
  memset(font[0].glyphwidth, 0, sizeof font[0].glyphwidth);
  font[0].glyphwidth['a'] = 0.35f;
  font[0].glyphwidth['b'] = 1.0f;
  // The running total is truncated after every character: 3.5 -> 3, 6.5 -> 6, 9.5 -> 9.
  EXPECT_EQ(measuretext("aaa", 10), 9);
  EXPECT_EQ(measuretext("bab", 10), 23);
  EXPECT_EQ(measuretext("", 10), 0);
  // Without a font every text measures 0 wide.
  font[0].glyphwidth['a'] = 0;
  EXPECT_EQ(measuretext("aaa", 32), 0);
  font[0] = saved;
}

TEST(Texture, MipmapsAndAlignment) {
  const int slot = 5;
  unsigned char *pixels = (unsigned char *)calloc(4 * 4, 4);
  // The bottom-left 2x2 block has red 10, 11, 12, 13.
  pixels[0] = 10, pixels[4] = 11, pixels[16] = 12, pixels[20] = 13;
  ASSERT_EQ(settexturepixels(slot, pixels, 4, 4), 1);
  EXPECT_EQ(generatemipmap(slot), 3);
  EXPECT_EQ(texture[slot].levels, 3);
  EXPECT_EQ(texture[slot].data[1][0], 11);
  // A wide image: the width decides the count; heights stop at one row.
  unsigned char *wide = (unsigned char *)malloc(8 * 2 * 4);
  memset(wide, 10, 8 * 4);
  memset(wide + 8 * 4, 20, 8 * 4);
  ASSERT_EQ(settexturepixels(slot, wide, 8, 2), 1);
  EXPECT_EQ(generatemipmap(slot), 4);
  for (int level = 1; level < 4; level++)
    EXPECT_EQ(std::vector<unsigned char>(texture[slot].data[level], texture[slot].data[level] + 4),
              std::vector<unsigned char>(4, 15)) << level;
  // Refusals leave the slot alone.
  EXPECT_EQ(settexturepixels(-1, (unsigned char *)malloc(4), 1, 1), 0);
  EXPECT_EQ(settexturepixels(slot, (unsigned char *)malloc(4), 0, 1), 0);
  EXPECT_EQ(texture[slot].width, 8);
  EXPECT_EQ(generatemipmap(NUMTEXTURES), 0);
  EXPECT_EQ(generatemipmap(6), 0); // never loaded
  // Position flags of rectangles; a negative coordinate is no flag.
  EXPECT_EQ(alignposition(ALIGN_CENTER | 320, 101), 270);
  EXPECT_EQ(alignposition(-20, 100), -20);
}

class Screenshot : public tempdirtest {};

TEST_F(Screenshot, HeaderNamingAndPixels) {
  unsigned char header[TGAHEADERSIZE];
  maketgaheader(header, 800, 600);
  const unsigned char expected[TGAHEADERSIZE] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x20, 0x03, 0x58, 0x02, 24, 0};
  EXPECT_EQ(memcmp(header, expected, TGAHEADERSIZE), 0);

  char name[13];
  getscreenshotname(name, 999);
  EXPECT_STREQ(name, "scsht999.tga");

  // The first free number, filling gaps.
  EXPECT_EQ(findscreenshotnumber(), 0);
  fclose(fopen("scsht000.tga", "wb"));
  fclose(fopen("scsht002.tga", "wb"));
  EXPECT_EQ(findscreenshotnumber(), 1);

  // Pixels go out bottom row first (as read back), blue-green-red.
  const unsigned char rgba[2 * 2 * 4] = {1, 2, 3, 99, 4, 5, 6, 99, 7, 8, 9, 99, 10, 11, 12, 99};
  ASSERT_EQ(writetga("scsht001.tga", rgba, 2, 2), 1);
  FILE *file = fopen("scsht001.tga", "rb");
  ASSERT_NE(file, nullptr);
  unsigned char bytes[64];
  size_t length = fread(bytes, 1, sizeof bytes, file);
  fclose(file);
  ASSERT_EQ(length, 18u + 12u);
  const unsigned char body[12] = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
  EXPECT_EQ(memcmp(bytes + 18, body, 12), 0);
  EXPECT_EQ(bytes[12], 2);
  EXPECT_EQ(bytes[14], 2);

  // Sizes a TGA header cannot hold are refused without a file.
  EXPECT_EQ(writetga("big.tga", rgba, 70000, 1), 0);
  EXPECT_EQ(writetga("big.tga", rgba, 0, 1), 0);
  EXPECT_EQ(fopen("big.tga", "rb"), nullptr);

  // With every name taken there is no number: the screenshot is skipped.
  for (int i = 0; i < 1000; i++) {
    getscreenshotname(name, i);
    fclose(fopen(name, "ab"));
  }
  EXPECT_EQ(findscreenshotnumber(), -1);
}

TEST(Shell, MouseKeysWheelAndModes) {
  // Window pixels to the virtual screen, truncating.
  EXPECT_EQ(scalemousex(799, 800), 639);
  EXPECT_EQ(scalemousey(599, 600), 479);
  // Keypad Enter and right Shift also mark Return and left Shift; the
  // original key stays held.
  unsigned char keys[KEY_LAST] = {};
  keys[KEY_KP_ENTER] = 1;
  keys[KEY_RSHIFT] = 1;
  keys[KEY_KP8] = 1;
  foldkeys(keys);
  EXPECT_TRUE(keys[KEY_RETURN] && keys[KEY_LSHIFT] && keys[KEY_RSHIFT] && keys[KEY_UP]);
  EXPECT_FALSE(keys[KEY_LCTRL] || keys[KEY_DOWN]);
  // Ten wheel notches leave eight pending.
  int pending = 0;
  for (int i = 0; i < 10; i++)
    addwheelnotch(&pending);
  EXPECT_EQ(pending, 8);
  // Three sizes make six modes, 32-bit first, in the order given.
  numofsdlvideomodes = 0;
  addvideomode(1024, 768);
  addvideomode(800, 600);
  addvideomode(640, 480);
  ASSERT_EQ(numofsdlvideomodes, 6);
  EXPECT_EQ(sdlvideomode[1].colordepth, 16);
  EXPECT_EQ(sdlvideomode[4].height, 480);
  // More than 2048 sizes: the table keeps the first ones and stays in bounds.
  int added = 0;
  for (int i = 0; i < 3000; i++)
    added += addvideomode(i, i);
  EXPECT_EQ(added, MAXVIDEOMODES / 2 - 3);
  EXPECT_EQ(numofsdlvideomodes, MAXVIDEOMODES);
  EXPECT_EQ(sdlvideomode[MAXVIDEOMODES - 1].width, 2044);
  numofsdlvideomodes = 0;
}

TEST(View, TerrainColumnsAndViewport) {
  // Terrain columns around the camera, clamped to the level.
  const float cameras[][4] = {{1024, 64, 240, 272}, {20, 64, 0, 21}, {2200, 64, 510, 510}, {-500, 8, 0, 0}};
  for (const auto &c : cameras) {
    int a, b;
    getterraincolumns(&a, &b, c[0], c[1]);
    EXPECT_EQ(a, (int)c[2]) << c[0];
    EXPECT_EQ(b, (int)c[3]) << c[0];
  }
  // Stress colours: none green, full stretch blue, full squeeze red.
  const float stress[][5] = {{0, 0, 0, 1, 0}, {0, 1, 0, 0, 1}, {1, 1, 1, 0, 0}, {1, 0.5f, 0.5f, 0.5f, 0}};
  for (const auto &s : stress) {
    float rgb[3];
    getstresscolor(rgb, (int)s[0], s[1]);
    EXPECT_EQ(std::vector<float>(rgb, rgb + 3), std::vector<float>(s + 2, s + 5)) << s[0] << " " << s[1];
  }
  // A rectangle of the virtual screen as window pixels, bottom-left origin.
  int rect[4];
  setfontresolution(320, 240);
  getviewportrect(rect, 160, 0, 160, 60, 1280, 960);
  EXPECT_EQ(std::vector<int>(rect, rect + 4), (std::vector<int>{640, 720, 640, 240}));
}
