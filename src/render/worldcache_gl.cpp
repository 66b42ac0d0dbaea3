#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>
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

// Asked of the context rather than linked: the library need not export
// them, and a context without them draws every frame.
static struct {
  PFNGLGENFRAMEBUFFERSPROC genframebuffers;
  PFNGLDELETEFRAMEBUFFERSPROC deleteframebuffers;
  PFNGLBINDFRAMEBUFFERPROC bindframebuffer;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferrenderbuffer;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC checkframebufferstatus;
  PFNGLBLITFRAMEBUFFERPROC blitframebuffer;
  PFNGLGENRENDERBUFFERSPROC genrenderbuffers;
  PFNGLDELETERENDERBUFFERSPROC deleterenderbuffers;
  PFNGLBINDRENDERBUFFERPROC bindrenderbuffer;
  PFNGLRENDERBUFFERSTORAGEPROC renderbufferstorage;
} fbo;

static int fetchfunctions() {
  fbo.genframebuffers = (PFNGLGENFRAMEBUFFERSPROC)SDL_GL_GetProcAddress("glGenFramebuffers");
  fbo.deleteframebuffers = (PFNGLDELETEFRAMEBUFFERSPROC)SDL_GL_GetProcAddress("glDeleteFramebuffers");
  fbo.bindframebuffer = (PFNGLBINDFRAMEBUFFERPROC)SDL_GL_GetProcAddress("glBindFramebuffer");
  fbo.framebufferrenderbuffer = (PFNGLFRAMEBUFFERRENDERBUFFERPROC)SDL_GL_GetProcAddress("glFramebufferRenderbuffer");
  fbo.checkframebufferstatus = (PFNGLCHECKFRAMEBUFFERSTATUSPROC)SDL_GL_GetProcAddress("glCheckFramebufferStatus");
  fbo.blitframebuffer = (PFNGLBLITFRAMEBUFFERPROC)SDL_GL_GetProcAddress("glBlitFramebuffer");
  fbo.genrenderbuffers = (PFNGLGENRENDERBUFFERSPROC)SDL_GL_GetProcAddress("glGenRenderbuffers");
  fbo.deleterenderbuffers = (PFNGLDELETERENDERBUFFERSPROC)SDL_GL_GetProcAddress("glDeleteRenderbuffers");
  fbo.bindrenderbuffer = (PFNGLBINDRENDERBUFFERPROC)SDL_GL_GetProcAddress("glBindRenderbuffer");
  fbo.renderbufferstorage = (PFNGLRENDERBUFFERSTORAGEPROC)SDL_GL_GetProcAddress("glRenderbufferStorage");
  return fbo.genframebuffers && fbo.deleteframebuffers && fbo.bindframebuffer && fbo.framebufferrenderbuffer &&
         fbo.checkframebufferstatus && fbo.blitframebuffer && fbo.genrenderbuffers && fbo.deleterenderbuffers &&
         fbo.bindrenderbuffer && fbo.renderbufferstorage;
}

// Framebuffer objects and their blit come with GL 3.0 or the ARB extension;
// without them every frame is drawn, as before. SPANWRIGHT_WORLDPICTURE=0
// draws every frame too: the window tests compare both ways.
static int checksupport() {
  const char *off = getenv("SPANWRIGHT_WORLDPICTURE");
  if (off && strcmp(off, "0") == 0)
    return 0;
  const char *version = (const char *)glGetString(GL_VERSION);
  const char *extensions = (const char *)glGetString(GL_EXTENSIONS);
  if (!(version && atoi(version) >= 3) && !(extensions && strstr(extensions, "GL_ARB_framebuffer_object")))
    return 0;
  return fetchfunctions();
}

static void deletepicture() {
  if (framebuffer)
    fbo.deleteframebuffers(1, &framebuffer);
  if (renderbuffer)
    fbo.deleterenderbuffers(1, &renderbuffer);
  framebuffer = renderbuffer = 0;
  picturewidth = pictureheight = 0;
}

// A picture as large as the window, so the world's viewport lands on the
// same pixels in it as on screen.
static int makepicture(int width, int height) {
  if (framebuffer && width == picturewidth && height == pictureheight)
    return 1;
  deletepicture();
  fbo.genframebuffers(1, &framebuffer);
  fbo.genrenderbuffers(1, &renderbuffer);
  fbo.bindrenderbuffer(GL_RENDERBUFFER, renderbuffer);
  fbo.renderbufferstorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  fbo.bindrenderbuffer(GL_RENDERBUFFER, 0);
  fbo.bindframebuffer(GL_FRAMEBUFFER, framebuffer);
  fbo.framebufferrenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer);
  int complete = fbo.checkframebufferstatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  fbo.bindframebuffer(GL_FRAMEBUFFER, 0);
  if (!complete) {
    deletepicture();
    return 0;
  }
  picturewidth = width;
  pictureheight = height;
  return 1;
}

static void copypicturetoscreen() {
  fbo.bindframebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  fbo.bindframebuffer(GL_DRAW_FRAMEBUFFER, 0);
  GLint x0 = worldrect[0], y0 = worldrect[1], x1 = x0 + worldrect[2], y1 = y0 + worldrect[3];
  fbo.blitframebuffer(x0, y0, x1, y1, x0, y0, x1, y1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  fbo.bindframebuffer(GL_FRAMEBUFFER, 0);
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
  fbo.bindframebuffer(GL_FRAMEBUFFER, framebuffer);
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
