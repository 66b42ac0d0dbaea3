#include <GL/gl.h>

#include "render/text.h"
#include "render/texture.h"
#include "shell/config.h"

void loadfont(int slot, const char *filename) {
  fontinfo *f = &font[fontnum];
  f->texture = slot;
  loadtexture(slot, filename, 0, GL_CLAMP, GL_CLAMP, GL_LINEAR, GL_LINEAR);
  if (slot < 0 || slot >= NUMGLTEXTURES)
    return;
  textureinfo *t = &texture[slot];
  if (t->width == 0 || !measurefont(f, t->data[0], t->width, t->height)) {
    // Without a usable font image every text would measure 0 wide and no
    // menu could be read; the built-in font keeps the game playable.
    int w = 0, h = 0;
    unsigned char *pixels = makefallbackfont(&w, &h);
    if (!settexturepixels(slot, pixels, w, h))
      return;
    t->wraps = t->wrapt = GL_CLAMP;
    t->magfilter = t->minfilter = GL_LINEAR;
    measurefont(f, t->data[0], t->width, t->height);
  }
  // A font image finer than 16-pixel cells is drawn smaller than its cells
  // at the common sizes: a mipmap keeps thin strokes from dropping out there.
  if (t->width > MIPMAPPEDFONTWIDTH && generatemipmap(slot) > 1) {
    t->levels = t->levels < FONTMIPLEVELS ? t->levels : FONTMIPLEVELS;
    t->minfilter = GL_LINEAR_MIPMAP_LINEAR;
  }
  setuptexture(slot); // the white cell and any mipmaps go up with it
}

void setuptextdisplay() {
  const fontinfo *f = &font[fontnum];
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glViewport(0, 0, windowinfo.screenwidth, windowinfo.screenheight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, f->resx, f->resy, 0, -16, 16);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
}

// Resolve the position flags of a text coordinate against the text's extent.
// A negative coordinate carries no flags: its high bits are only the sign.
static int aligntext(int v, int extent) {
  if (v < 0)
    return v;
  if (v & ALIGN_CENTER)
    return (v & 0xFFFF) - (extent >> 1);
  if (v & ALIGN_END)
    return (v & 0xFFFF) - extent;
  return v;
}

void drawtext(const char *format, int x, int y, int size, float red, float green, float blue,
              double alpha, ...) {
  va_list args;
  va_start(args, alpha);
  expandtext(textstring2, format, args);
  va_end(args);

  const fontinfo *f = &font[fontnum];
  int width = measuretext(textstring2, size);
  x = aligntext(x, width);
  y = aligntext(y, size);
  int solid = 0;
  if (x >= 0 && (x & TEXT_SOLID)) {
    x &= 0xFFFF;
    solid = 1;
  }

  int slot = f->texture;
  glBindTexture(GL_TEXTURE_2D, slot >= 0 && slot < NUMTEXTURES ? texture[slot].glname : 0);
  glBegin(GL_QUADS);
  glColor4f(red, green, blue, (float)alpha);
  int pen = 0;
  for (const unsigned char *c = (const unsigned char *)textstring2; *c; c++) {
    float advance = (float)size * f->glyphwidth[*c];
    int a = (int)advance;
    const float *t = f->glyphtexcoord[solid ? 127 : *c];
    // Glyph quads shrink with their texture boxes (measurefont); solid
    // blocks fill theirs, so that a run of them has no seams.
    float d = solid || *c == 127 ? 0.0f : (float)size * f->glyphinset;
    float left = (float)(x + pen) + d, right = (float)(x + pen + a) - d;
    float top = (float)y + d, bottom = (float)(y + size) - d;
    glTexCoord2f(t[0], t[1]);
    glVertex2f(left, top);
    glTexCoord2f(t[2], t[3]);
    glVertex2f(right, top);
    glTexCoord2f(t[4], t[5]);
    glVertex2f(right, bottom);
    glTexCoord2f(t[6], t[7]);
    glVertex2f(left, bottom);
    pen = (int)((float)pen + advance);
  }
  glEnd();
}
