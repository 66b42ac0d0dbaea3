#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor.h"
#include "render/screenshot.h"
#include "render/text.h"
#include "render/texture.h"
#include "render/view.h"
#include "render/world.h"
#include "render/worldcache.h"
#include "shell/config.h"
#include "shell/input.h"
#include "shell/system.h"
#include "shell/video.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "tempdir.h"
#include "testrun/game.h"
#include "world/level.h"

using bytes = std::vector<unsigned char>;
using ints = std::vector<int>;

template <typename... Args> static std::string expand(const char *format, Args... args) {
  char out[TEXTBUFFER];
  memset(out, 'Z', sizeof out);
  int length = expandtextf(out, format, args...);
  EXPECT_EQ(length, (int)strlen(out));
  return out;
}

TEST(Text, ExpansionAndMeasurement) {
  // Signs, unsigned, hex, grouped thousands (negative values ungrouped), /c 0
  // adding nothing but consuming its argument; not an escape: the '/' is
  // dropped, the letter stays, a final '/' vanishes.
  const std::string rows[][2] = {
      {expand("+/i", 42), "+42"}, {expand("/i//", -7), "-7/"}, {expand("/u /x", 4000000000u, 255), "4000000000 FF"},
      {expand("/f", 1.5), "1.500000"}, {expand("[/s]", "abc"), "[abc]"}, {expand("/I", 1234567), "1,234,567"},
      {expand("/I", 1000005), "1,000,005"}, {expand("/I", 999), "999"}, {expand("/I", 1000), "1,000"},
      {expand("/I", -12345), "-12345"}, {expand("/c/c/i", 'A', 0, 5), "A5"}, {expand("a/qb/"), "aqb"}};
  for (const auto &r : rows) EXPECT_EQ(r[0], r[1]);
  // Plain text stops at 1000 characters, checked before each source character:
  // an argument that starts below it is appended whole, but never past the buffer.
  std::string plain(1500, 'a'), format = std::string(999, 'a') + "/s", arg(20, 'b'), huge(5000, 'c');
  EXPECT_EQ(std::vector<size_t>({expand(plain.c_str()).size(), expand(format.c_str(), arg.c_str()).size(),
                                 expand("/s", huge.c_str()).size(), expand(format.c_str(), huge.c_str()).size()}),
            std::vector<size_t>({1000, 1019, TEXTBUFFER - 1, TEXTBUFFER - 1}));
  // The running width is truncated after every character (3.5 -> 3, 6.5 -> 6,
  // 9.5 -> 9); without a font every text measures 0 wide.
  fontnum = 0, font[0] = fontinfo{};
  font[0].glyphwidth['a'] = 0.35f, font[0].glyphwidth['b'] = 1.0f;
  EXPECT_EQ(ints({measuretext("aaa", 10), measuretext("bab", 10), measuretext("", 10), measuretext("c", 32)}), ints({9, 23, 0, 0}));
}

// A font image, bottom row first; block() inks rows top..bottom (counted
// from the cell's top) of columns x0..x1 in character c's cell.
struct testimage {
  int width, cell;
  bytes pixels;
  testimage(int w) : width(w), cell(w / 16), pixels((size_t)w * w * 4, 0) {}
  void block(int c, int x0, int x1, int top, int bottom) {
    for (int x = x0; x <= x1; x++)
      for (int y = top; y <= bottom; y++)
        pixels[((size_t)(width - 1 - (c / 16) * cell - y) * width + (c & 15) * cell + x) * 4 + 3] = 200;
  }
};

TEST(Text, GlyphMeasurement) {
  testimage image(256), fine(512);
  // 'A': the column after a gap is not part of the glyph; '.': only the
  // cell's lowest row; 'i' starts one column in; 'M' in a finer image is
  // measured against its own cell; the fallback's glyphs are all one width
  image.block('A', 0, 9, 2, 12), image.block('A', 12, 12, 2, 12), image.block('W', 0, 15, 0, 14);
  image.block('.', 0, 1, 15, 15), image.block('i', 1, 1, 4, 12), fine.block('M', 0, 19, 4, 28);
  int fw = 0, fh = 0;
  unsigned char *fallback = makefallbackfont(&fw, &fh), *a = image.pixels.data(), *m = fine.pixels.data();
  ASSERT_TRUE(fallback != nullptr && fw == 256 && fh == 256);
  struct { unsigned char *pixels; int size, c; float width; } rows[] = {
      {a, 256, 'A', 10 / 16.0f}, {a, 256, 'W', 15 / 16.0f}, {a, 256, '.', 1 / 16.0f}, {a, 256, 'i', 2 / 16.0f},
      {a, 256, 'z', 1 / 16.0f}, {a, 256, ' ', 6 / 16.0f}, {m, 512, 'M', 20 / 32.0f}, {fallback, 256, 'l', 0.75f}};
  for (const auto &r : rows) {
    fontinfo f{};
    ASSERT_EQ(measurefont(&f, r.pixels, r.size, r.size), 1);
    EXPECT_FLOAT_EQ(f.glyphwidth[r.c], r.width) << (char)r.c << " at " << r.size;
    // texture corners inside the image, clockwise from the top left; 127
    // (the solid block) one point in its cell
    const float *t = f.glyphtexcoord[r.c], *b = f.glyphtexcoord[127];
    EXPECT_TRUE(t[0] > 0 && t[0] < t[2] && t[2] < 1 && t[1] < 1 && t[5] > 0 && t[5] < t[1]) << (char)r.c;
    EXPECT_TRUE(b[2] == b[0] && b[4] == b[0] && b[6] == b[0] && b[3] == b[1] && b[5] == b[1] && b[7] == b[1] && b[0] < 1 && b[1] < 1);
  }
  // The fallback's ink is its alpha (its white is seen in the window tests,
  // which start without the font image). The full-height '|' and the solid
  // block ink rows 1 to 14 opaque, leaving each cell's top and bottom rows
  // clear of the neighbouring cells.
  auto alpha = [&](int c, int x, int y) { return fallback[((size_t)(255 - (c / 16) * 16 - y) * 256 + (c & 15) * 16 + x) * 4 + 3]; };
  for (int y = 0; y < 16; y++)
    EXPECT_EQ(alpha('|', 4, y) + alpha(127, 0, y) + alpha(127, 11, y), y == 0 || y == 15 ? 0 : 3 * 255) << y;
  free(fallback);
  // Character 0's cell turned opaque white.
  EXPECT_EQ(bytes({a[255 * 1024 + 3], a[(240 * 256 + 15) * 4], a[(255 * 256 + 16) * 4 + 3]}), bytes({255, 255, 0}));
  // Images too small or too short for 16 rows of cells are refused whole.
  fontinfo untouched{};
  untouched.glyphwidth['M'] = 0.5f;
  bytes shortimage(256 * 100 * 4, 255);
  EXPECT_EQ(measurefont(&untouched, shortimage.data(), 256, 100) + measurefont(&untouched, shortimage.data(), 8, 8) +
                measurefont(&untouched, nullptr, 256, 256), 0);
  EXPECT_FLOAT_EQ(untouched.glyphwidth['M'], 0.5f);
}

TEST(Texture, MipmapsAndAlignment) {
  const int slot = 5;
  unsigned char *pixels = (unsigned char *)calloc(16 * 4, 4);
  // Red rises 4 a pixel along the rows, bottom row first: each 2x2 block
  // averages into one pixel of the next level. A fresh image is one level;
  // the width decides the count, heights stop at one row (levels 3 and 4).
  for (int i = 0; i < 64; i++)
    pixels[i * 4] = (unsigned char)(4 * i);
  ASSERT_EQ(settexturepixels(slot, pixels, 16, 4) + texture[slot].levels, 2);
  unsigned char **d = texture[slot].data;
  EXPECT_EQ(ints({generatemipmap(slot), texture[slot].levels, d[1][0], d[1][32], d[2][4], d[3][4], d[4][0]}),
            ints({5, 5, 34, 162, 118, 142, 126}));
  // Refusals leave the slot alone; a texture never loaded has no mipmaps.
  EXPECT_EQ(settexturepixels(-1, (unsigned char *)malloc(4), 1, 1) + settexturepixels(slot, (unsigned char *)malloc(4), 0, 1) +
                generatemipmap(NUMTEXTURES) + generatemipmap(6), 0);
  EXPECT_EQ(texture[slot].width, 16);
  // A negative coordinate is no position flag.
  EXPECT_EQ(alignposition(-20, 100), -20);
}

class Screenshot : public tempdirtest {};

TEST_F(Screenshot, NamingAndRefusals) {
  // The first free number, filling gaps.
  fclose(fopen("scsht000.tga", "wb")), fclose(fopen("scsht002.tga", "wb"));
  EXPECT_EQ(findscreenshotnumber(), 1);
  // (The header and the pixels' order are checked on the game's own
  // screenshots in the window tests.)
  // Sizes a TGA header cannot hold are refused without a file, and so is a
  // file that cannot be created.
  bytes widest(65535 * 4);
  EXPECT_EQ(writetga("big.tga", widest.data(), 70000, 1) + writetga("big.tga", widest.data(), 0, 1) +
                writetga("no/such.tga", widest.data(), 1, 1), 0);
  EXPECT_FALSE(exists("big.tga"));
  EXPECT_EQ(writetga("widest.tga", widest.data(), 65535, 1), 1);
  // With every name taken there is no number: the screenshot is skipped.
  char name[13];
  for (int i = 0; i < 1000; i++)
    getscreenshotname(name, i), fclose(fopen(name, "ab"));
  EXPECT_EQ(findscreenshotnumber(), -1);
}

TEST(Shell, MouseKeysWheelAndModes) {
  // Window pixels to the virtual screen, truncating; ten wheel notches leave eight pending.
  int pending = 0;
  for (int i = 0; i < 10; i++)
    addwheelnotch(&pending);
  EXPECT_EQ(ints({scalemousex(799, 800), scalemousey(599, 600), pending}), ints({639, 479, 8}));
  // Keypad Enter and right Shift also mark Return and left Shift; the original key stays held.
  unsigned char keys[KEY_LAST] = {};
  keys[KEY_KP_ENTER] = keys[KEY_RSHIFT] = keys[KEY_KP8] = 1;
  foldkeys(keys);
  EXPECT_TRUE(keys[KEY_RETURN] && keys[KEY_LSHIFT] && keys[KEY_RSHIFT] && keys[KEY_UP] && !keys[KEY_LCTRL] && !keys[KEY_DOWN]);
  // Past the table the first modes are kept, in bounds.
  numofsdlvideomodes = 0;
  int added = 0;
  for (int i = 0; i < 3000; i++)
    added += addvideomode(i, i);
  EXPECT_EQ(ints({added, numofsdlvideomodes, sdlvideomode[MAXVIDEOMODES - 1].width}), ints({MAXVIDEOMODES / 2, MAXVIDEOMODES, MAXVIDEOMODES / 2 - 1}));
}

TEST(View, TerrainGridStressAndCulling) {
  // A camera framed on a point however far off, or no number at all, gets
  // terrain columns inside the level, a bounded count of grid lines and no
  // conversion out of int's range; a camera near an end sees its edge column.
  gridlines g;
  int a, b;
  const int most = (int)(GRIDLIMIT * 0.5f) + 3;
  for (float far : {8e9f, -2.1474836e9f, 1e38f, -INFINITY, NAN, -500.0f, 2200.0f}) {
    getgridlines(&g, far, far, fabsf(far), far);
    getterraincolumns(&a, &b, far, 64);
    EXPECT_TRUE(g.x1 - g.x0 <= most && g.y1 - g.y0 <= most && abs(g.deckrow) <= most) << far;
    EXPECT_TRUE(a >= 0 && a <= b && b <= NUMTERRAIN - 2) << far;
  }
  getterraincolumns(&a, &b, 20, 64);
  EXPECT_TRUE(a == 0 && b == 21);
  // In the colour-safe view a stress that is no number or below none draws
  // thinnest; full stress three times the normal width.
  colorsafe = 1;
  EXPECT_EQ(ints({getstressclass(NAN), getstressclass(-1), getstressclass(0.5f), getstressclass(1)}), ints({0, 0, 2, 3}));
  // and keeps every colour a colour, whatever the stress
  for (float stress : {NAN, -1.0f, 1.0f, 9.0f}) {
    float rgb[6];
    getstressstyle(rgb, 0, stress), getstressstyle(rgb + 3, 1, stress);
    EXPECT_TRUE(*std::min_element(rgb, rgb + 6) >= 0 && *std::max_element(rgb, rgb + 6) <= 1) << stress;
  }
  EXPECT_EQ(getstresswidth(getstressclass(1)), 3.0f);

  // Members outside the view are left out of the drawing.
  // 800 x 600 pixels, camera at (1024, 32), distance 64: x 960..1088 and
  // y -16..80 show, 6.25 pixels to a unit; a margin of 6.25 pixels is 1 unit.
  worldrect r = getvisiblerect(1024, 32, 64, 800, 600, 6.25f);
  // a position that is no number is drawn as before
  EXPECT_TRUE(segmentvisible(r, NAN, NAN, 2000, 2000));
  // a window taller than wide shows more than the half-width upwards
  EXPECT_TRUE(segmentvisible(getvisiblerect(1024, 32, 64, 600, 800, 0), 1024, 32 + 80, 1024, 32 + 80));
  // a camera in front of the near plane or no viewport: nothing is left out
  EXPECT_TRUE(segmentvisible(getvisiblerect(1024, 32, 0.2f, 800, 600, 0), 1e6f, 1e6f, 1e6f, 1e6f));
  EXPECT_TRUE(segmentvisible(getvisiblerect(1024, 32, 64, 0, 600, 0), 1e6f, 1e6f, 1e6f, 1e6f));
  // Against the projection itself: a member any point of which lands in the
  // window, widened by the margin, is never left out.
  srand(7);
  int leftout = 0;
  for (int i = 0; i < 2000; i++) {
    float v[4];
    for (float &f : v)
      f = (float)rand() / (float)RAND_MAX * 6 - 3;
    float x1 = 1024 + 64 * v[0], y1 = 32 + 64 * v[1], x2 = 1024 + 64 * v[2], y2 = 32 + 64 * v[3];
    int shows = 0;
    for (int k = 0; k <= 256; k++) {
      float t = (float)k / 256, x = x1 + (x2 - x1) * t, y = y1 + (y2 - y1) * t;
      float px = (x - 1024) / 64 * 400 + 400, py = (y - 32) / 48 * 300 + 300;
      shows |= px >= -6 && px <= 806 && py >= -6 && py <= 606;
    }
    EXPECT_TRUE(!shows || segmentvisible(r, x1, y1, x2, y2)) << x1 << "," << y1 << " " << x2 << "," << y2;
    leftout += !segmentvisible(r, x1, y1, x2, y2);
  }
  EXPECT_GT(leftout, 500);
}

// Each change, made in turn, must change the key (and the key must hold still between them).
using change = std::pair<const char *, std::function<void()>>;

static void expectkeyfollows(uint64_t (*key)(), const std::vector<change> &changes) {
  for (const change &c : changes) {
    uint64_t before = key();
    EXPECT_EQ(key(), before);
    c.second();
    EXPECT_NE(key(), before) << c.first;
  }
}

TEST(WorldCache, ActionsAndKeys) {
  worldcachestate s = {};
  const struct { uint64_t key; int worth, action; } frames[] = {
      // a new world is drawn; seen again it is drawn into the picture; after
      // that the picture serves for as long as the key holds
      {11, 1, WORLD_DRAW}, {11, 1, WORLD_CAPTURE}, {11, 1, WORLD_REUSE}, {11, 1, WORLD_REUSE},
      // a world that changes every frame never costs a capture
      {12, 1, WORLD_DRAW}, {13, 1, WORLD_DRAW}, {14, 1, WORLD_DRAW},
      // the old picture still serves its own key when that comes back
      {11, 1, WORLD_REUSE}, {30, 1, WORLD_DRAW}, {30, 1, WORLD_CAPTURE}, {11, 1, WORLD_DRAW}, {11, 1, WORLD_CAPTURE},
      // (the picture is lost here) the next steady frame draws it anew
      {11, 1, WORLD_CAPTURE}, {11, 1, WORLD_REUSE},
      // a world too cheap to be worth a picture is drawn, however still it
      // stands; a kept picture of the same key still serves
      {40, 0, WORLD_DRAW}, {40, 0, WORLD_DRAW}, {40, 1, WORLD_CAPTURE}, {40, 0, WORLD_REUSE}};
  for (const auto &f : frames) {
    if (&f - frames == 12)
      forgetworldpicture(&s);
    EXPECT_EQ(getworldcacheaction(&s, f.key, f.worth), f.action) << "frame " << (&f - frames);
  }
  // Every input of a screen's lasting layers, changed in turn, changes its key.
  view.pos[0] = 1024, view.pos[1] = 32, view.pos[2] = 64;
  game.stressview = 0, colorsafe = 0;
  numofjoints = 3, numofbeams = 2;
  joint[0] = {0, {1000, 32}}, joint[1] = {1, {1004, 32}}, joint[2] = {1, {1002, 36}};
  beam[0] = {1, 0, 1, 0, 0, 0.0f}, beam[1] = {0, 1, 2, 0, 1, 0.5f};
  editor.savednumofbeams = 2;
  uint64_t base = geteditorworldkey();
  // The joints are drawn on top every frame: their highlights need no new picture.
  editor.selected = 1, editor.hover = 2, editor.savednumofjoints = 0;
  EXPECT_EQ(geteditorworldkey(), base);
  // A negative or oversized count reads nothing out of the tables.
  numofbeams = -4;
  EXPECT_NE(geteditorworldkey(), base);
  numofbeams = MAXBEAMS + 9;
  EXPECT_EQ(geteditorworldkey(), geteditorworldkey());
  numofbeams = 2;
  // Beams and the crossing are hashed whole: one field of each stands for the rest.
  expectkeyfollows(geteditorworldkey,
                   {{"joint moved", [] { joint[2].pos.x = 1002.5f; }},
                    // the same words in another order: a key that ignored order would keep a stale picture
                    {"joints swapped", [] { std::swap(joint[1], joint[2]); }},
                    {"beam hovered", [] { beam[0].hover = 1; }},
                    {"beam added", [] { beam[2] = {0, 0, 2, 0, 0, 0.0f}, numofbeams = 3; }},
                    {"unsaved beams", [] { editor.savednumofbeams = 1; }},
                    {"longest beam", [] { beamtype[0] += 1; }},
                    {"ground", [] { level.terrain[255] += 1; }},
                    {"stress view", [] { game.stressview = 1; }},
                    {"colour-safe", [] { colorsafe = 1; }}});
  beamtype[0] -= 1;
  // The test run's key, over the same camera and crossing.
  game.stressview = 1, game.maxstress = 0, colorsafe = 0;
  numofparticles = 3, numofbonds = 2, numofobjects = 1;
  for (int i = 0; i < 3; i++)
    particle[i].pos = {1000.0f + 4 * i, 32};
  bond[0] = {}, bond[1] = {};
  bond[0].particle1 = 0, bond[0].particle2 = 1, bond[0].road = 1;
  bond[1].particle1 = 1, bond[1].particle2 = 2, bond[1].stress = 0.5f;
  object[0].type = 0, object[0].center = {1010, 34}, object[0].axisx = {1, 0};
  EXPECT_NE(gettestrunworldkey(), geteditorworldkey());
  expectkeyfollows(gettestrunworldkey,
                   {{"particle moved", [] { particle[1].pos.y = 31.5f; }},
                    {"bond stress", [] { bond[0].stress = 0.125f; }},
                    {"peak stress", [] { bond[1].peakstress = 1.0f; }},
                    {"peak side", [] { bond[1].peakstresstype = 1; }},
                    {"train bond", [] { bond[1].rigid = 1; }},
                    {"bond gone", [] { numofbonds = 1; }},
                    {"car moved", [] { object[0].center.x = 1011; }},
                    {"car turned", [] { object[0].axisx = {0.0f, 1.0f}; }},
                    {"car colour", [] { object[0].color[1] = 0.5f; }},
                    {"peak view", [] { game.maxstress = 1; }},
                    {"camera", [] { view.pos[0] = 1030; }}});
}
