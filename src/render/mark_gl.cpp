#include <GL/gl.h>
#include <math.h>

#include "render/mark.h"
#include "render/view.h"

constexpr int RINGSEGMENTS = 40;
constexpr float RINGPIXELS = 18.0f;   // outer radius, virtual pixels
constexpr float RINGUNITS = 2.5f;     // ...and never less than this in world units
constexpr float RINGWIDTH = 0.22f;    // share of the radius

static void ring(float x, float y, float inner, float outer) {
  glBegin(GL_QUAD_STRIP);
  for (int i = 0; i <= RINGSEGMENTS; i++) {
    float a = 6.2831853f * (float)i / (float)RINGSEGMENTS;
    float c = cosf(a), s = sinf(a);
    glVertex2f(x + c * inner, y + s * inner);
    glVertex2f(x + c * outer, y + s * outer);
  }
  glEnd();
}

void renderbreakmark(float x, float y) {
  if (!isfinite(x) || !isfinite(y))
    return;
  // The world is seen from distance z with a half-width of z: 320 virtual
  // pixels to z units.
  float z = view.pos[2] > 0.0625f ? view.pos[2] : 0.0625f;
  float r = fmaxf(RINGPIXELS * z / 320.0f, RINGUNITS);
  float w = r * RINGWIDTH;
  // A dark rim under the bright ring keeps it readable over water, sky,
  // ground and every stress colour alike.
  glColor4f(0.0f, 0.0f, 0.0f, 0.7f);
  ring(x, y, r - w * 1.6f, r + w * 0.6f);
  glColor4f(1.0f, 0.9f, 0.15f, 1.0f);
  ring(x, y, r - w, r);
}
