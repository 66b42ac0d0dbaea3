#include <GL/gl.h>

#include "render/text.h"
#include "ui/notice.h"

// The band keeps the line readable over the world and stays inside the row
// from y 62 to 80, clear of the menus' headings above and lists below.
void drawnotice(unsigned int now) {
  const char *text = getnotice(now);
  if (!text)
    return;
  int half = measuretext(text, NOTICESIZE) / 2 + 6;
  glDisable(GL_TEXTURE_2D);
  glColor4f(0.0f, 0.0f, 0.0f, 0.65f);
  glBegin(GL_QUADS);
  glVertex2f(NOTICEX - half, NOTICEY - 1);
  glVertex2f(NOTICEX + half, NOTICEY - 1);
  glVertex2f(NOTICEX + half, NOTICEY + NOTICESIZE + 1);
  glVertex2f(NOTICEX - half, NOTICEY + NOTICESIZE + 1);
  glEnd();
  glEnable(GL_TEXTURE_2D);
  if (notice.kind == NOTICE_ERROR)
    drawtext("/s", ALIGN_CENTER | NOTICEX, NOTICEY, NOTICESIZE, 1.0f, 0.55f, 0.45f, 1, text);
  else
    drawtext("/s", ALIGN_CENTER | NOTICEX, NOTICEY, NOTICESIZE, 0.75f, 1.0f, 0.75f, 1, text);
}
