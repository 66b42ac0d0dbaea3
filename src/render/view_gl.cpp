#include <GL/gl.h>

#include "render/view.h"
#include "shell/config.h"

void setupperspectiveviewport(int x, int y, int w, int h, float nearclip, float farclip) {
  int rect[4];
  getviewportrect(rect, x, y, w, h, windowinfo.screenwidth, windowinfo.screenheight);
  glViewport(rect[0], rect[1], rect[2], rect[3]);
  // A collapsed rectangle shows nothing; keep the projection finite anyway.
  float aspect = rect[2] > 0 ? (float)rect[3] / (float)rect[2] : 0.75f;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-nearclip, nearclip, -nearclip * aspect, nearclip * aspect, nearclip, farclip);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void setupviewpoint(const float *pos, const float *orient) {
  glMatrixMode(GL_MODELVIEW);
  if (orient) {
    // The stored axis vectors become the rows: the inverse of the camera's rotation.
    const float m[16] = {orient[0], orient[3], orient[6], 0, orient[1], orient[4], orient[7], 0,
                         orient[2], orient[5], orient[8], 0, 0,         0,         0,         1};
    glMultMatrixf(m);
  }
  if (pos)
    glTranslatef(-pos[0], -pos[1], -pos[2]);
}
