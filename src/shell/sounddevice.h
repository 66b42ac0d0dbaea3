// Whether there is anything to play sound on, asked before the sound
// library is started: its ALSA back end prints a dozen lines on standard
// error for every card it looks for and cannot find, so a machine without
// one would greet every start from a terminal with them.
#pragma once

// 1 when the player named a driver (driver: SDL_AUDIODRIVER's value, NULL
// or "" when unset), when a sound server listens (server: PULSE_SERVER's
// value; runtimedir: XDG_RUNTIME_DIR, where a PulseAudio or PipeWire server
// keeps "pulse/native"), or when devdir (normally "/dev") holds a sound
// card's playback node ("snd/pcmC0D0p" and the like) or an OSS "dsp".
int findsounddevice(const char *driver, const char *server, const char *runtimedir, const char *devdir);
