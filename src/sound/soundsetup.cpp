#include "sound/soundsetup.h"

#include "shell/config.h"
#include "shell/sound.h"
#include "sound/mixer.h"
#include "sound/soundevent.h"

// The device's half: apart from listensound, so that the tests link the
// hooks without a device.
void startsound() {
  listensound();
  soundsource = mixsound;
  resetmixer();
  setsoundlevel(soundon, soundvolume);
  opensound();
}

void stopsound() { closesound(); }

void playsoundframe() {
  if (issoundopen()) {
    setsoundlevel(soundon, soundvolume);
    if (soundon)
      queuesoundframe(soundevent, numofsoundevents);
  }
  clearsoundevents();
}
