#include "sound/soundevent.h"
#include "sound/soundsetup.h"
#include "testrun/testrun.h"
#include "ui/menu.h"

static void clickmenu() { addsoundevent(SOUND_CLICK, 0, 1, 0.6f, 1.0f, 0.0f); }

void listensound() {
  teststephook = checksoundstep;
  menufiredhook = clickmenu;
}
