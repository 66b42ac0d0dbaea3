// Synthesis and mixing of the game's sounds: every sound is made here from
// oscillators, filtered noise and envelopes, with no sample files.
//
// Two threads meet here and nowhere else. The main thread hands each
// frame's events over with queuesoundframe(); the audio device's callback
// thread renders with mixsound(). Between them is a single-producer,
// single-consumer ring of events with atomic indices: neither side ever
// waits for the other, and the callback touches only fixed tables (no
// allocation, no lock, no file). The voices belong to the callback thread
// alone.
#pragma once

#include "shell/sound.h"
#include "sound/soundevent.h"

constexpr int MAXVOICES = 10;       // one-shot sounds at once; the quietest gives way
constexpr int SOUNDRING = 64;       // events in flight between the threads

// Merges a frame's events (several steps' worth when the test runs fast)
// into at most one of each kind, so a fast run does not pile up sounds,
// and passes them to the callback. Events that find the ring full are
// dropped. Main thread only.
void queuesoundframe(const soundeventinfo *events, int count);
// Volume in percent (0..100) and on/off, read by the callback at its next
// buffer. Off silences at once and forgets every sound playing.
void setsoundlevel(int on, int volume);
// Renders `frames` stereo frames (interleaved left, right) into out.
// Callback thread only (or a test standing in for it).
void mixsound(short *out, int frames);
// Back to silence with nothing queued; only while no callback runs.
void resetmixer();
// Number of one-shot voices sounding now (for the tests).
int countvoices();
