#include <cstdio>

#include "editor/editor.h"
#include "ui/notice.h"

refusalinfo refusal;
refusalinfo lastrefusal;

// Each line says what stopped the click and, where there is one, what to
// do instead; the notice line holds about 70 characters at its size.
int getrefusaltext(char *out, int size, int code, int amount) {
  switch (code) {
  case REFUSE_BUDGET:
    return snprintf(out, (size_t)size, "Over the budget by %d: nothing built", amount);
  case REFUSE_LENGTH:
    return snprintf(out, (size_t)size, "A beam of %d.%d is too long: at most %.1f", amount / 10, amount % 10,
                    MAXBEAMLENGTH);
  case REFUSE_GROUND:
    // amount 1: the end of a beam being drawn, where a click ends drawing.
    if (amount)
      return snprintf(out, (size_t)size, "The grid point there is inside the ground: drawing ended");
    return snprintf(out, (size_t)size, "A joint cannot go inside the ground");
  case REFUSE_JOINTTHERE:
    return snprintf(out, (size_t)size, "A joint is already there");
  case REFUSE_BEAMTHERE:
    return snprintf(out, (size_t)size, "That beam is already built");
  case REFUSE_ANCHORMOVE:
    return snprintf(out, (size_t)size, "An anchor cannot move: click it, then click where the beam ends");
  case REFUSE_TWOANCHORS:
    return snprintf(out, (size_t)size, "A beam cannot join two anchors");
  case REFUSE_FULL:
    return snprintf(out, (size_t)size, "The bridge cannot hold any more joints or beams");
  case REFUSE_STAMPTHERE:
    return snprintf(out, (size_t)size, "Every beam of the copy is already there");
  case REFUSE_COPYNOTHING:
    return snprintf(out, (size_t)size, "Nothing copied: no beam lies wholly inside the rectangle");
  case REFUSE_ANCHORDELETE:
    return snprintf(out, (size_t)size, "An anchor cannot be deleted");
  }
  if (size > 0)
    out[0] = 0;
  return 0;
}

void noterefusal(int code, int amount) {
  char text[NOTICELENGTH];
  if (getrefusaltext(text, sizeof text, code, amount) > 0)
    setnotice(NOTICE_INFO, "%s", text);
}
