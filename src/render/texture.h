// Texture slots: each keeps its pixels in memory beside the GL texture so
// that a video-mode change, which loses the GL context, can be undone by
// uploading everything again (reactivategame).
#pragma once

constexpr int NUMTEXTURES = 2048;
constexpr int NUMGLTEXTURES = 1024; // only these slots get a GL name
constexpr int CURSORSLOT = 768;     // + font cursor number
constexpr int MAXTEXLEVELS = 16;

// GL pixel-format values, restated so the headless mipmap code needs no GL
// header.
constexpr int TEXFORMAT_RGB = 0x1907;
constexpr int TEXFORMAT_RGBA = 0x1908;

struct textureinfo {
  int width;              // 0 while the slot holds no image
  int height;
  int levels;             // mipmap levels held in data
  int format;             // TEXFORMAT_RGBA
  int internalformat;
  int wraps, wrapt;       // GL wrap modes
  int magfilter, minfilter;
  unsigned int glname;    // fixed for the run
  unsigned char *data[MAXTEXLEVELS]; // level n: (width>>n)*(height>>n) RGBA pixels, bottom row first
};

extern textureinfo texture[NUMTEXTURES];

// Build levels 1.. from level 0 by 2x2 averaging. Returns the level count,
// or 0 when the slot is empty, out of range or not RGB(A).
int generatemipmap(int slot);

// Take ownership of an RGBA pixel buffer (bottom row first) as the slot's
// level 0, freeing what the slot held. Returns 0 for a bad slot or size, in
// which case the buffer is freed and the slot is unchanged.
int settexturepixels(int slot, unsigned char *pixels, int width, int height);

// SDL/GL (texture_gl.cpp).
void loadtexture(int slot, const char *filename, int mipmaps, int wraps, int wrapt,
                 int magfilter, int minfilter);
int setuptexture(int slot);
void gentexturenames();
// texcoords: (s, t) of top-left, top-right, bottom-right, bottom-left.
void drawbitmaptexcoord(int slot, int x, int y, int w, int h, const float *texcoords);
void drawmousecursor(int x, int y, int size, float red, float green, float blue, float alpha);

// Where a rectangle of length `length` starts when its coordinate carries a
// position flag (headless, shared with the menu items' explicit hit areas).
int alignposition(int coordinate, int length);
