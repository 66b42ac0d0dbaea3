#include <SDL.h>
#include <stdlib.h>

#include "shell/config.h"
#include "shell/sound.h"
#include "shell/sounddevice.h"

static int soundopen;

void (*soundsource)(short *out, int frames);

// SDL's audio thread. It renders from the voices and the event ring only:
// no lock, no allocation, nothing the main thread writes but the ring and
// the two settings.
static void fillaudio(void *, Uint8 *stream, int length) {
  soundsource((short *)stream, length / 4);
}

void opensound() {
  if (soundsource == NULL ||
      !findsounddevice(getenv("SDL_AUDIODRIVER"), getenv("PULSE_SERVER"), getenv("XDG_RUNTIME_DIR"), "/dev"))
    return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
    return;
  SDL_AudioSpec want = {};
  want.freq = SOUNDRATE;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 512;  // 23 ms: a snap follows its break within about two frames
  want.callback = fillaudio;
  // No obtained spec: SDL converts to whatever the device takes, so the
  // mixer always renders 16-bit stereo at SOUNDRATE.
  if (SDL_OpenAudio(&want, NULL) < 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  soundopen = 1;
  SDL_PauseAudio(0);
}

void closesound() {
  if (soundopen)
    SDL_CloseAudio();
  soundopen = 0;
}

int issoundopen() { return soundopen; }
