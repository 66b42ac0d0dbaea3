// F8 screenshots: uncompressed 24-bit TGA files "scsht000.tga" to
// "scsht999.tga" in the working directory, filling the first free number.
// The file work is headless (screenshot.cpp); reading the frame buffer is
// screenshot_gl.cpp.
#pragma once

constexpr int SCREENSHOTPIXELS = 1228800; // 1280x960; larger windows get a larger buffer
constexpr int TGAHEADERSIZE = 18;

// Fill the 18-byte header of a bottom-up 24-bit true-colour image.
void maketgaheader(unsigned char *header, int width, int height);
// "scsht" + three digits + ".tga" into name (13 bytes).
void getscreenshotname(char *name, int number);
// The first number whose file does not exist, or -1 when all 1000 exist.
int findscreenshotnumber();
// Write RGBA pixels (bottom row first) as a TGA. Returns 1 when the file is
// complete, 0 when nothing (or an unfinished temporary) was left behind.
int writetga(const char *name, const unsigned char *rgba, int width, int height);

// What screenshot() did, for the notice line to tell.
enum : int {
  SCREENSHOT_SAVED = 1,
  SCREENSHOT_FAILED = 0,     // the save failed, and was kept as a failed save
  SCREENSHOT_NOMEMORY = -1,  // no buffer for the frame
  SCREENSHOT_ALLTAKEN = -2,  // scsht000.tga to scsht999.tga all exist
};
extern char screenshotname[13];  // the last one tried; "" before the first

// Read the back buffer and save it under the next free name. Returns a
// SCREENSHOT_* result.
int screenshot();
