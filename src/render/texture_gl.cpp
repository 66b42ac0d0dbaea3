#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <cstdlib>
#include <cstring>

#include "render/text.h"
#include "render/texture.h"
#include "shell/fileio.h"
#include "shell/system.h"

// Masks of a surface whose bytes in memory are red, green, blue, alpha on
// either host byte order.
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
static const Uint32 RMASK = 0xFF000000, GMASK = 0x00FF0000, BMASK = 0x0000FF00, AMASK = 0x000000FF;
#else
static const Uint32 RMASK = 0x000000FF, GMASK = 0x0000FF00, BMASK = 0x00FF0000, AMASK = 0xFF000000;
#endif

static int isbyteorderrgb(const SDL_PixelFormat *f) {
  if (f->BytesPerPixel == 4)
    return f->Rmask == RMASK && f->Gmask == GMASK && f->Bmask == BMASK;
#if SDL_BYTEORDER == SDL_BIG_ENDIAN
  if (f->BytesPerPixel == 3)
    return f->Rmask == 0xFF0000 && f->Gmask == 0x00FF00 && f->Bmask == 0x0000FF;
#else
  if (f->BytesPerPixel == 3)
    return f->Rmask == 0x0000FF && f->Gmask == 0x00FF00 && f->Bmask == 0xFF0000;
#endif
  return 0;
}

// The image's pixels as RGBA bytes, bottom row first, or null. Palette,
// grey and differently ordered images are converted first, so every PNG
// loads with its colours and alpha instead of being misread.
static unsigned char *readsurfacepixels(SDL_Surface *image) {
  SDL_Surface *source = image;
  if (!isbyteorderrgb(image->format)) {
    SDL_PixelFormat rgba;
    memset(&rgba, 0, sizeof rgba);
    rgba.BitsPerPixel = 32;
    rgba.BytesPerPixel = 4;
    rgba.Rmask = RMASK, rgba.Gmask = GMASK, rgba.Bmask = BMASK, rgba.Amask = AMASK;
    rgba.Rshift = __builtin_ctz(RMASK), rgba.Gshift = __builtin_ctz(GMASK);
    rgba.Bshift = __builtin_ctz(BMASK), rgba.Ashift = __builtin_ctz(AMASK);
    rgba.alpha = 255;
    source = SDL_ConvertSurface(image, &rgba, SDL_SWSURFACE);
    if (!source)
      return nullptr;
  }
  int w = source->w, h = source->h, bpp = source->format->BytesPerPixel;
  // An image that had an alpha mask keeps it; one without gets opaque pixels.
  int hasalpha = bpp == 4 && image->format->Amask != 0;
  unsigned char *pixels = (unsigned char *)malloc((size_t)w * h * 4);
  if (pixels && SDL_LockSurface(source) == 0) {
    const unsigned char *base = (const unsigned char *)source->pixels;
    for (int i = 0; i < h; i++) {
      const unsigned char *src = base + (size_t)i * source->pitch;
      unsigned char *dst = pixels + (size_t)(h - 1 - i) * w * 4;
      for (int j = 0; j < w; j++, src += bpp, dst += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = hasalpha ? src[3] : 255;
      }
    }
    SDL_UnlockSurface(source);
  } else {
    free(pixels);
    pixels = nullptr;
  }
  if (source != image)
    SDL_FreeSurface(source);
  return pixels;
}

void loadtexture(int slot, const char *filename, int mipmaps, int wraps, int wrapt, int magfilter,
                 int minfilter) {
  if (slot < 0 || slot >= NUMGLTEXTURES)
    return;
  SDL_RWops *file = openimagefile(filename);
  SDL_Surface *image = file ? IMG_Load_RW(file, 1) : NULL;
  if (!image)
    return;
  int w = image->w, h = image->h;
  unsigned char *pixels = w > 0 && h > 0 ? readsurfacepixels(image) : nullptr;
  SDL_FreeSurface(image);
  if (!pixels || !settexturepixels(slot, pixels, w, h))
    return;
  textureinfo *t = &texture[slot];
  t->wraps = wraps;
  t->wrapt = wrapt;
  t->magfilter = magfilter;
  t->minfilter = minfilter;
  if (mipmaps)
    generatemipmap(slot);
  setuptexture(slot);
}

int setuptexture(int slot) {
  if (slot < 0 || slot >= NUMGLTEXTURES)
    return 0;
  textureinfo *t = &texture[slot];
  glBindTexture(GL_TEXTURE_2D, t->glname);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, t->wraps);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t->wrapt);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, t->magfilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, t->minfilter);
  int n = 0;
  for (; n < t->levels; n++) {
    if (!t->data[n])
      break;
    int w = t->width >> n, h = t->height >> n;
    glTexImage2D(GL_TEXTURE_2D, n, t->internalformat, w > 0 ? w : 1, h > 0 ? h : 1, 0, t->format,
                 GL_UNSIGNED_BYTE, t->data[n]);
  }
  // A slot may keep fewer levels than a full chain (the font): the levels
  // uploaded are then the whole texture.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, n > 0 ? n - 1 : 0);
  return t->levels;
}

void gentexturenames() {
  for (int i = 0; i < NUMGLTEXTURES; i++)
    glGenTextures(1, &texture[i].glname);
}

static void bindslot(int slot) {
  glBindTexture(GL_TEXTURE_2D, slot >= 0 && slot < NUMTEXTURES ? texture[slot].glname : 0);
}

void drawbitmaptexcoord(int slot, int x, int y, int w, int h, const float *texcoords) {
  x = alignposition(x, w);
  y = alignposition(y, h);
  bindslot(slot);
  glBegin(GL_QUADS);
  glTexCoord2f(texcoords[0], texcoords[1]);
  glVertex2i(x, y);
  glTexCoord2f(texcoords[2], texcoords[3]);
  glVertex2i(x + w, y);
  glTexCoord2f(texcoords[4], texcoords[5]);
  glVertex2i(x + w, y + h);
  glTexCoord2f(texcoords[6], texcoords[7]);
  glVertex2i(x, y + h);
  glEnd();
}

void drawmousecursor(int x, int y, int size, float red, float green, float blue, float alpha) {
  int slot = CURSORSLOT + font[fontnum].cursor;
  // Without a cursor image the pointer would vanish: draw a plain arrow
  // instead so the game stays usable.
  if (slot < 0 || slot >= NUMGLTEXTURES || texture[slot].width == 0) {
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glColor4f(red, green, blue, alpha);
    glBegin(GL_TRIANGLES);
    glVertex2i(x, y);
    glVertex2i(x, y + size);
    glVertex2i(x + size * 3 / 4, y + size * 3 / 4);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    return;
  }
  bindslot(slot);
  glColor4f(red, green, blue, alpha);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2i(x - size, y - size);
  glTexCoord2f(1, 1);
  glVertex2i(x + size, y - size);
  glTexCoord2f(1, 0);
  glVertex2i(x + size, y + size);
  glTexCoord2f(0, 0);
  glVertex2i(x - size, y + size);
  glEnd();
}
