#include <GL/gl.h>

#include <cstdlib>

#include "render/screenshot.h"
#include "shell/config.h"

// Grown, never shrunk, so a window larger than 1280x960 still gets a whole
// frame; allocated on the first screenshot rather than held from start-up.
static unsigned char *screenshotbuffer;
static size_t screenshotbuffersize;

int screenshot() {
  int w = windowinfo.screenwidth, h = windowinfo.screenheight;
  if (w <= 0 || h <= 0)
    return SCREENSHOT_FAILED;
  size_t pixels = (size_t)w * h;
  if (pixels < SCREENSHOTPIXELS)
    pixels = SCREENSHOTPIXELS;
  if (pixels * 4 > screenshotbuffersize) {
    unsigned char *grown = (unsigned char *)realloc(screenshotbuffer, pixels * 4);
    if (!grown)
      return SCREENSHOT_NOMEMORY;
    screenshotbuffer = grown;
    screenshotbuffersize = pixels * 4;
  }
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, screenshotbuffer);
  int number = findscreenshotnumber();
  // All thousand names taken: skip rather than overwrite an earlier picture.
  if (number < 0)
    return SCREENSHOT_ALLTAKEN;
  getscreenshotname(screenshotname, number);
  return writetga(screenshotname, screenshotbuffer, w, h) ? SCREENSHOT_SAVED : SCREENSHOT_FAILED;
}
