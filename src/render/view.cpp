#include "render/view.h"

#include <cmath>

#include "shell/config.h"

viewinfo view;

#include "render/text.h"

void getviewportrect(int *rect, int x, int y, int w, int h, int screenwidth, int screenheight) {
  int resx = font[fontnum].resx > 0 ? font[fontnum].resx : 640;
  int resy = font[fontnum].resy > 0 ? font[fontnum].resy : 480;
  int flipped = resy - (y + h);
  rect[0] = (int)((long long)x * screenwidth / resx);
  rect[1] = (int)((long long)flipped * screenheight / resy);
  rect[2] = (int)((long long)w * screenwidth / resx);
  rect[3] = (int)((long long)h * screenheight / resy);
}

#include "shell/input.h"
#include "world/level.h"

void getscreenpoint(float x, float y, float *sx, float *sy) {
  float z = view.pos[2] > 0.0625f ? view.pos[2] : 0.0625f;
  float aspect = windowinfo.screenwidth > 0 && windowinfo.screenheight > 0
                     ? (float)windowinfo.screenheight / (float)windowinfo.screenwidth
                     : 0.75f;
  *sx = 320.0f + (x - view.pos[0]) * 320.0f / z;
  *sy = 240.0f - (y - view.pos[1]) * 240.0f / (z * aspect);
}

int takecamerasteps(unsigned int now, unsigned int *last) {
  int n = 0;
  while (now - *last > CAMERATICK - 1 && n < MAXCAMERATICKS) {
    n++;
    if (n < 3)
      *last += CAMERATICK;
    else
      *last = now;
  }
  return n;
}

void stepcamera(int keysblocked, int speedblocked, int edgescroll, float miny) {
  float *p = view.pos;
  float speed = 0.5f;
  if (!speedblocked) {
    if (keyboard[KEY_LSHIFT])
      speed = 1.0f;
    if (keyboard[KEY_LCTRL])
      speed = 4.0f;
  }
  if (!keysblocked) {
    if (keyboard[(int)'a'])
      p[0] -= speed;
    if (keyboard[(int)'d'])
      p[0] += speed;
    if (keyboard[(int)'s'])
      p[1] -= speed;
    if (keyboard[(int)'w'])
      p[1] += speed;
    if (keyboard[(int)'q'])
      p[2] -= speed;
    if (keyboard[(int)'z'])
      p[2] += speed;
  }
  if (edgescroll) {
    if (mouse.x <= 1)
      p[0] -= speed;
    if (mouse.x > 637)
      p[0] += speed;
    if (mouse.y <= 1)
      p[1] += speed;
    if (mouse.y > 477)
      p[1] -= speed;
  }
  for (; mouse.wheelup > 0; mouse.wheelup--)
    p[2] -= 4.0f;
  for (; mouse.wheeldown > 0; mouse.wheeldown--)
    p[2] += 4.0f;

  // The left bound wins when an author has dragged the ends past each other.
  if (p[0] > level.rightend)
    p[0] = level.rightend;
  if (p[0] < level.leftend)
    p[0] = level.leftend;
  p[1] = p[1] < miny ? miny : p[1] > 512.0f ? 512.0f : p[1];
  p[2] = p[2] < 16.0f ? 16.0f : p[2] > 256.0f ? 256.0f : p[2];
}

float getviewaspect() {
  if (windowinfo.screenwidth <= 0 || windowinfo.screenheight <= 0)
    return 0.75f;
  float aspect = (float)windowinfo.screenheight / (float)windowinfo.screenwidth;
  return aspect < 0.75f ? aspect : 0.75f;
}

void frameview(float x, float aspect) {
  float low = level.deckheight, high = level.deckheight;
  float wide = fmaxf(fabsf(level.leftend - x), fabsf(level.rightend - x));
  for (int i = 0; i < numofjoints; i++) {
    low = fminf(low, joint[i].pos.y);
    high = fmaxf(high, joint[i].pos.y);
    wide = fmaxf(wide, fabsf(joint[i].pos.x - x));
  }
  // Virtual pixels are z * aspect / 240 world units apart vertically, so a
  // band of FRAMEBOTTOM - FRAMETOP rows holds that many of them.
  float band = (float)(FRAMEBOTTOM - FRAMETOP);
  float z = fmaxf(FRAMEDISTANCE, wide + FRAMEMARGIN);
  z = fmaxf(z, (high - low + 2.0f * FRAMEMARGIN) * 240.0f / (band * aspect));
  float perpixel = z * aspect / 240.0f;
  view.pos[0] = x;
  view.pos[1] = (low + high) * 0.5f + ((float)(FRAMETOP + FRAMEBOTTOM) * 0.5f - 240.0f) * perpixel;
  view.pos[2] = z;
}

void framecrossing() { frameview((level.leftend + level.rightend) * 0.5f, getviewaspect()); }

vector2d getmouseworld(int x, int y) {
  float scale = view.pos[2] / 320.0f;
  vector2d m = {view.pos[0] + (float)(x - 320) * scale, view.pos[1] + (float)(240 - y) * scale};
  return m;
}
