#include "render/view.h"

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
