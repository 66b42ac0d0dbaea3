#include "shell/video.h"

videomode sdlvideomode[MAXVIDEOMODES];
int numofsdlvideomodes;

int addvideomode(int width, int height) {
  // Two entries per size; a list of more than 2048 sizes keeps the first.
  if (numofsdlvideomodes > MAXVIDEOMODES - 2)
    return 0;
  sdlvideomode[numofsdlvideomodes++] = {width, height, 32};
  sdlvideomode[numofsdlvideomodes++] = {width, height, 16};
  return 1;
}
