// Stands in for the display's mode switch in a window test: every mode but
// 800 x 600 is refused, and each call is logged to $MODELOG, so a test can
// see how often the game switched.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

void *SDL_SetVideoMode(int w, int h, int bpp, unsigned flags) {
  void *(*real)(int, int, int, unsigned) = (void *(*)(int, int, int, unsigned))dlsym(RTLD_NEXT, "SDL_SetVideoMode");
  FILE *f = fopen(getenv("MODELOG"), "a");
  if (f)
    fprintf(f, "%d %d\n", w, h), fclose(f);
  return w == 800 && h == 600 ? real(w, h, bpp, flags) : NULL;
}
