#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <stdlib.h>
#include <string.h>

#include "render/worldcache.h"

static worldcachestate cache;
static GLuint framebuffer, renderbuffer;
static int picturewidth, pictureheight;
static int capturing;
static int support = -1; // unknown until the first frame with a context
static GLint worldrect[4];
static int lastmembers; // drawn by the last frame that drew the world

// Framebuffer objects and their blit come with GL 3.0 or the ARB extension;
// without them every frame is drawn, as before. SPANWRIGHT_WORLDPICTURE=0
// draws every frame too: the window tests compare both ways.
static int checksupport() {
  const char *off = getenv("SPANWRIGHT_WORLDPICTURE");
  if (off && strcmp(off, "0") == 0)
    return 0;
  const char *version = (const char *)glGetString(GL_VERSION);
  const char *extensions = (const char *)glGetString(GL_EXTENSIONS);
  if (version && atoi(version) >= 3)
    return 1;
  return extensions && strstr(extensions, "GL_ARB_framebuffer_object") ? 1 : 0;
}

static void deletepicture() {
  if (framebuffer)
    glDeleteFramebuffers(1, &framebuffer);
  if (renderbuffer)
    glDeleteRenderbuffers(1, &renderbuffer);
  framebuffer = renderbuffer = 0;
  picturewidth = pictureheight = 0;
}

// A picture as large as the window, so the world's viewport lands on the
// same pixels in it as on screen.
static int makepicture(int width, int height) {
  if (framebuffer && width == picturewidth && height == pictureheight)
    return 1;
  deletepicture();
  glGenFramebuffers(1, &framebuffer);
  glGenRenderbuffers(1, &renderbuffer);
  glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
  int complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (!complete) {
    deletepicture();
    return 0;
  }
  picturewidth = width;
  pictureheight = height;
  return 1;
}

static void copypicturetoscreen() {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  GLint x0 = worldrect[0], y0 = worldrect[1], x1 = x0 + worldrect[2], y1 = y0 + worldrect[3];
  glBlitFramebuffer(x0, y0, x1, y1, x0, y0, x1, y1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

int beginworld(uint64_t key) {
  capturing = 0;
  worldmembersdrawn = 0;
  if (support < 0)
    support = checksupport();
  if (!support)
    return 0;
  glGetIntegerv(GL_VIEWPORT, worldrect);
  // The window's size and the viewport belong to the key: the same world
  // seen in another rectangle is another picture.
  worldkey k = {key};
  addworldkey(&k, worldrect, sizeof worldrect);
  long pixels = (long)worldrect[2] * worldrect[3];
  int action = getworldcacheaction(&cache, k.h, isworldworthkeeping(lastmembers, pixels));
  worldmembersdrawn = 0;
  if (action == WORLD_DRAW)
    return 0;
  int width = worldrect[0] + worldrect[2], height = worldrect[1] + worldrect[3];
  if (width <= 0 || height <= 0 || !makepicture(width, height)) {
    forgetworldpicture(&cache);
    return 0;
  }
  if (action == WORLD_REUSE) {
    copypicturetoscreen();
    return 1;
  }
  // The picture starts as the screen did this frame: cleared to the
  // frame's colour (the world is the first thing drawn on it).
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glClear(GL_COLOR_BUFFER_BIT);
  capturing = 1;
  return 0;
}

void endworld() {
  lastmembers = worldmembersdrawn;
  if (!capturing)
    return;
  capturing = 0;
  copypicturetoscreen();
}

void forgetworldcache() {
  // The names died with the old context; deleting them could hit another's.
  framebuffer = renderbuffer = 0;
  picturewidth = pictureheight = 0;
  capturing = 0;
  support = -1;
  forgetworldpicture(&cache);
  cache.haslast = 0;
}
