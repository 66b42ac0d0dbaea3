#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/config.h"
#include "shell/input.h"
#include "tempdir.h"
#include "world/levellist.h"

class Config : public tempdirtest {};

static void expectconfig(std::vector<int> want, const std::string &row) {
  want.insert(want.end(), {16, 0, 0});
  EXPECT_EQ(std::vector<int>({config.screenwidth, config.screenheight, config.colordepth, config.fullscreen, dirnum,
                              colorsafe, config.depthbits, config.stencilbits, config.usejoystick}), want) << row;
}

TEST_F(Config, Loading) {
  const char stray[] = " colordepth=\xff\x80\0" "16 fullscreen=--1 directory=3-4";
  struct { std::string text; std::vector<int> want; } rows[] = {
      // keys out of order: the later search has already passed the earlier key
      {"screenheight=700\r\nscreenwidth=900\r\ncolordepth=16\r\n", {900, 600, 32, 0, 0, 0}},
      // spaces around '=', bare LF line ends, a negative value; colorsafe searched from the start
      {"colorsafe=1\nscreenwidth = 1024\nscreenheight =768\ncolordepth=16\nfullscreen=1\ndirectory=-1\n", {1024, 768, 16, 1, -1, 1}},
      {"screenwid", {800, 600, 32, 0, 0, 0}},  // what an earlier, longer file left in the buffer is not read
      // no digits after a key: the next number anywhere is taken, keys passed on the way keep their defaults
      {"screenwidth=\r\nscreenheight=1480\r\ncolordepth=16\r\nfullscreen=1\r\n", {1480, 600, 32, 0, 0, 0}},
      // a key at the very end of the text is not found; one with nothing after it keeps its default; any
      // colorsafe other than 0 is on
      {"colorsafe=7 screenwidth=640 directory", {640, 600, 32, 0, 0, 1}},
      {"screenwidth=640 screenheight=", {640, 600, 32, 0, 0, 0}},
      // overlong and out-of-range numbers and stray bytes do not upset the reader; "--1" is no number
      {"screenwidth=99999999999999999999 screenheight=" + std::string(400, '7') + std::string(stray, sizeof(stray) - 1),
       {800, 600, 16, 0, 3, 0}},
      // values the game cannot use are the defaults (the size as a pair); the limits themselves are kept
      {"screenwidth=640 screenheight=480 colordepth=16 fullscreen=1", {640, 480, 16, 1, 0, 0}},
      {"screenwidth=8192 screenheight=8192", {8192, 8192, 32, 0, 0, 0}},
      {"screenwidth=8193 screenheight=700 colordepth=24 fullscreen=2", {800, 600, 24, 0, 0, 0}},
      {"screenwidth=639 screenheight=700 colordepth=8 fullscreen=-1", {800, 600, 32, 0, 0, 0}},
      {"screenwidth=1024 screenheight=479", {800, 600, 32, 0, 0, 0}},
      // a file larger than the buffer is read up to the buffer's size: the height's digits lie past it
      {"screenwidth=1280 " + std::string(PARSERBUFFER - 20, ' ') + "screenheight=1024\r\n", {1280, 600, 32, 0, 0, 0}},
  };
  for (const auto &r : rows) {
    writebytes("config.txt", r.text);
    config.usejoystick = colorsafe = 1, dirnum = 0;
    loadoptions();
    expectconfig(r.want, r.text.substr(0, 80));
  }
  // (a failing search that wrapped to the start would find the keys out of order above)
  // a file removed since the last load is not read again
  remove("config.txt"), loadoptions();
  expectconfig({800, 600, 32, 0, 0, 0}, "no file");
  // a directory in its place is neither read nor saved over (a FIFO, never waited on and kept, is the start-up
  // window test's)
  ASSERT_EQ(mkdir("config.txt", 0777), 0);
  loadoptions();
  expectconfig({800, 600, 32, 0, 0, 0}, "directory");
  EXPECT_EQ(saveoptions(), 0);
  struct stat status;
  EXPECT_TRUE(lstat("config.txt", &status) == 0 && S_ISDIR(status.st_mode));
  // a window not sized yet maps the mouse to 0 rather than dividing by zero
  EXPECT_EQ(scalemousex(5, 0) + scalemousey(5, 0), 0);
}

// (What the save writes is pinned elsewhere: the five lines and nothing more
// by the sound settings' test, the colour-safe line by the installed game's
// window test, the configured mode rather than the window it fell back to
// by the start-up window test, and that it reads back unchanged by the
// settings fuzz target.)
