// The audio device. It is opened apart from the window, and any failure
// (no device, no driver, a server that will not answer) leaves the game
// silent and otherwise exactly as it was, without a message.
#pragma once

constexpr int SOUNDRATE = 22050;  // frames per second, stereo

void opensound();
void closesound();
// 1 while a device plays.
int issoundopen();
// What the device plays: fills `frames` stereo frames of 16-bit samples at
// the mixer's rate, on the audio thread. Set before opensound.
extern void (*soundsource)(short *out, int frames);
