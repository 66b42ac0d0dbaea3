#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/config.h"
#include "tempdir.h"
#include "world/levellist.h"

class Config : public tempdirtest {};

static void writetext(const std::string &text) {
  FILE *file = fopen("config.txt", "wb");
  fwrite(text.data(), 1, text.size(), file);
  fclose(file);
}

static void expectconfig(int width, int height, int depth, int full, int dir) {
  EXPECT_EQ(config.screenwidth, width);
  EXPECT_EQ(config.screenheight, height);
  EXPECT_EQ(config.colordepth, depth);
  EXPECT_EQ(config.fullscreen, full);
  EXPECT_EQ(dirnum, dir);
  EXPECT_EQ(config.depthbits, 16);
  EXPECT_EQ(config.stencilbits, 0);
  EXPECT_EQ(config.usejoystick, 0);
}

TEST_F(Config, Loading) {
  // no file and an empty file: defaults
  dirnum = 0;
  config.usejoystick = 1;
  loadoptions();
  expectconfig(800, 600, 32, 0, 0);
  writetext("");
  loadoptions();
  expectconfig(800, 600, 32, 0, 0);

  // keys out of order: the later search has already passed the earlier key
  writetext("screenheight=700\r\nscreenwidth=900\r\ncolordepth=16\r\n");
  loadoptions();
  expectconfig(900, 600, 32, 0, 0);

  // spaces around '=', bare LF line ends, negative value
  writetext("screenwidth = 1024\nscreenheight =768\ncolordepth=16\nfullscreen=1\ndirectory=-1\n");
  loadoptions();
  expectconfig(1024, 768, 16, 1, -1);
  dirnum = 0;

  // no digits after a key: the next number anywhere is taken, and the keys
  // passed on the way keep their defaults
  writetext("screenwidth=\r\nscreenheight=480\r\ncolordepth=16\r\nfullscreen=1\r\n");
  loadoptions();
  expectconfig(480, 600, 32, 0, 0);

  // a key at the very end of the text is not found; one with nothing after
  // it keeps its default
  writetext("screenwidth=640 directory");
  loadoptions();
  expectconfig(640, 600, 32, 0, 0);
  writetext("screenwidth=640 screenheight=");
  loadoptions();
  expectconfig(640, 600, 32, 0, 0);

  // overlong and out-of-range numbers and stray bytes do not upset the reader
  const char stray[] = " colordepth=\xff\x80\0" "16 fullscreen=--1 directory=3-4";
  writetext("screenwidth=99999999999999999999 screenheight=" + std::string(400, '7') +
            std::string(stray, sizeof(stray) - 1));
  loadoptions();
  EXPECT_EQ(config.screenwidth, 2147483647);
  EXPECT_EQ(config.screenheight, 2147483647);
  EXPECT_EQ(config.colordepth, 16);
  EXPECT_EQ(config.fullscreen, 0); // "--1" is no number
  EXPECT_EQ(dirnum, 3);
  dirnum = 0;
}

TEST_F(Config, ParserLimits) {
  // a file larger than the buffer is read up to the buffer's size
  std::string big(PARSERBUFFER - 20, ' ');
  writetext("screenwidth=1280 " + big + "screenheight=1024\r\n");
  loadoptions();
  EXPECT_EQ(parser.length, PARSERBUFFER);
  EXPECT_EQ(config.screenwidth, 1280);
  EXPECT_EQ(config.screenheight, 600); // its digits lie past the buffer
  // repeated failing searches keep the cursor past the end without wrapping
  for (int i = 0; i < 1000; i++)
    EXPECT_EQ(findstring("missing"), 0);
  EXPECT_EQ(checkstring("s"), 0);
  EXPECT_EQ(getint(), 0);

  loadtextfile("no such file");
  EXPECT_EQ(parser.length, 0);
  EXPECT_EQ(parser.position, 0);
}

TEST_F(Config, SaveRoundTrip) {
  windowinfo.screenwidth = 1024;
  windowinfo.screenheight = 768;
  windowinfo.colordepth = 16;
  windowinfo.fullscreen = 1;
  dirnum = 2;
  ASSERT_EQ(saveoptions(), 1);
  std::vector<unsigned char> bytes = readbytes("config.txt");
  std::string expected =
      "screenwidth=1024\r\nscreenheight=768\r\ncolordepth=16\r\nfullscreen=1\r\ndirectory=2\r\n";
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
  dirnum = 0;
  loadoptions();
  expectconfig(1024, 768, 16, 1, 2);
  dirnum = 0;
}
