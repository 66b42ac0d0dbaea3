#include <GL/gl.h>

#include <cstdlib>

#include "render/screenshot.h"
#include "shell/config.h"
#include "ui/notice.h"

// Grown, never shrunk, so a window larger than 1280x960 still gets a whole
// frame; allocated on the first screenshot rather than held from start-up.
static unsigned char *screenshotbuffer;
static size_t screenshotbuffersize;

void screenshot() {
  int w = windowinfo.screenwidth, h = windowinfo.screenheight;
  if (w <= 0 || h <= 0)
    return;
  size_t pixels = (size_t)w * h;
  if (pixels < SCREENSHOTPIXELS)
    pixels = SCREENSHOTPIXELS;
  if (pixels * 4 > screenshotbuffersize) {
    unsigned char *grown = (unsigned char *)realloc(screenshotbuffer, pixels * 4);
    if (!grown) {
      setnotice(NOTICE_ERROR, "No screenshot: out of memory");
      return;
    }
    screenshotbuffer = grown;
    screenshotbuffersize = pixels * 4;
  }
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, screenshotbuffer);
  int number = findscreenshotnumber();
  // All thousand names taken: skip rather than overwrite an earlier picture.
  if (number < 0) {
    setnotice(NOTICE_ERROR, "No screenshot: scsht000.tga to scsht999.tga are all taken");
    return;
  }
  char name[13];
  getscreenshotname(name, number);
  // Told after the capture, so the line is never in the picture it names.
  if (writetga(name, screenshotbuffer, w, h))
    setnotice(NOTICE_INFO, "Screenshot %s", name);
}
