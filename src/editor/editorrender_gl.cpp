#include <GL/gl.h>

#include "editor/editor.h"
#include "editor/editorloop.h"
#include "render/view.h"

static void rectangle(GLenum mode, const vector2d &a, const vector2d &b) {
  glBegin(mode);
  glVertex2f(a.x, a.y);
  glVertex2f(b.x, a.y);
  glVertex2f(b.x, b.y);
  glVertex2f(a.x, b.y);
  glEnd();
}

// The selection rectangle: a faint fill with a brighter outline.
void rendercopy() {
  glColor4f(1, 1, 1, 0.25f);
  rectangle(GL_QUADS, editor.corner1, editor.corner2);
  glColor4f(1, 1, 1, 0.75f);
  rectangle(GL_LINE_LOOP, editor.corner1, editor.corner2);
}

void renderleveleditor() {
  float cx = view.pos[0], cy = view.pos[1], cz = view.pos[2];
  glBegin(GL_LINES);
  glColor4f(1, 1, 1, 1);
  glVertex2f(cx - cz, level.deckheight);
  glVertex2f(cx + cz, level.deckheight);
  glColor4f(1, 0, 0, 1);
  glVertex2f(level.leftend, cy - cz);
  glVertex2f(level.leftend, cy + cz);
  glColor4f(0, 1, 0, 1);
  glVertex2f(level.rightend, cy - cz);
  glVertex2f(level.rightend, cy + cz);
  glEnd();
}
