#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/config.h"
#include "shell/sounddevice.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim_bridge.h"
#include "sound/mixer.h"
#include "sound/soundevent.h"
#include "sound/soundsetup.h"
#include "tempdir.h"
#include "testrun/game.h"
#include "testrun/testrun.h"
#include "world/levellist.h"

// A fresh test run of the bridge in the live tables, the train starting
// by itself unless told not to.
static void startrun(int mode = 0, int autorun = 1) {
  startplainrun(mode, autorun);
  listensound();
  clearsoundevents();
  resetsoundwatch();
}

// What a run said, and the steps at which beams broke and the train
// passed, told from the tables after every step.
struct heard {
  std::vector<soundeventinfo> events;
  std::vector<int> breaks, passes;
};

// Runs `steps` steps through the screen's pacing, 16 ms a frame: one step
// each, so every event belongs to the tables as they stand after it.
static heard runsound(int steps) {
  heard h;
  int broken = 0, state = game.state;
  for (unsigned now = 16; game.steps < steps; now += 16) {
    checksimulationpace(now);
    h.events.insert(h.events.end(), soundevent, soundevent + numofsoundevents);
    clearsoundevents();
    if (bridgebreak.count > broken)
      h.breaks.push_back(game.steps), broken = bridgebreak.count;
    if (game.state == STATE_PASSED && state != STATE_PASSED)
      h.passes.push_back(game.steps);
    state = game.state;
  }
  return h;
}

static std::vector<int> stepsof(const std::vector<soundeventinfo> &events, int type, int *count = nullptr) {
  std::vector<int> steps;
  for (const auto &e : events)
    if (e.type == type)
      steps.push_back(e.step), count && (*count += e.count);
  return steps;
}

TEST(Sound, BreakingPassingAndLoadedRuns) {
  // The truss without piers gives way, the train drives into the water
  // after it: a snap at every step beams broke, the first the loudest; one
  // splash for every joint and car under the water at the end; nothing
  // lands on anything hard. (Creaks: the loaded run's.)
  buildtruss(0);
  startrun();
  heard h = runsound(1500);
  int snapped = 0, wet = 0, under = 0;
  EXPECT_EQ(stepsof(h.events, SOUND_SNAP, &snapped), h.breaks);
  stepsof(h.events, SOUND_SPLASH, &wet);
  for (int i = 0; i < numofjoints; i++)
    under += particle[i].type == PARTICLE_FREE && particle[i].pos.y < level.waterlevel;
  for (int o = 0; o < numofobjects; o++)
    under += object[o].center.y < level.waterlevel;
  EXPECT_EQ(std::vector<int>({snapped, wet}), std::vector<int>({bridgebreak.count, under}));
  ASSERT_GE(h.breaks.size(), 2u);
  auto snap = [](const soundeventinfo &e) { return e.type == SOUND_SNAP; };
  auto first = std::find_if(h.events.begin(), h.events.end(), snap);
  EXPECT_GT(first->strength, std::find_if(first + 1, h.events.end(), snap)->strength);
  EXPECT_TRUE(stepsof(h.events, SOUND_BUMP).empty() && stepsof(h.events, SOUND_CHIME).empty());
  // Listening changes nothing in the run: the same run unheard ends the same.
  unsigned long long hash = hashpositions();
  startrun();
  teststephook = nullptr;
  runsound(1500);
  EXPECT_EQ(hashpositions(), hash);
  // With the water drained the cars land in the dip instead: bumps and no
  // splash (that a car rolling on the road never bumps is the passing run's).
  buildtruss(0);
  level.waterlevel = -100.0f;
  startrun();
  h = runsound(1500);
  EXPECT_TRUE(!stepsof(h.events, SOUND_BUMP).empty() && stepsof(h.events, SOUND_SPLASH).empty());
  // The pier truss carries the train: one chime as it passes, no snap,
  // splash or bump; the locomotive rumbles only once it rolls, and the
  // bridge standing alone before the train says nothing.
  buildpiertruss();
  startrun();
  h = runsound(900);
  ASSERT_EQ(h.passes.size(), 1u);
  EXPECT_EQ(stepsof(h.events, SOUND_CHIME), h.passes);
  EXPECT_TRUE(stepsof(h.events, SOUND_SNAP).empty() && stepsof(h.events, SOUND_SPLASH).empty() &&
              stepsof(h.events, SOUND_BUMP).empty());
  std::vector<int> rumble = stepsof(h.events, SOUND_RUMBLE);
  ASSERT_GT(rumble.size(), 300u);
  EXPECT_GT(rumble[0], 60);
  std::vector<int> creaks = stepsof(h.events, SOUND_CREAK);
  EXPECT_TRUE(creaks.empty() || creaks[0] > 60);
  // A progressive test chimes for every crossing it gets across.
  startrun(1);
  EXPECT_GE(stepsof(runsound(900).events, SOUND_CHIME).size(), 2u);
  // A weight hung under the middle: the truss creaks while it settles, then
  // stands quiet under the load, with no drone.
  startrun(0, 0);
  particle[4].mass = 60.0f;
  creaks = stepsof(runsound(1800).events, SOUND_CREAK);
  EXPECT_TRUE(getbridgestress() > 0.4f && !creaks.empty() && creaks.back() < 600);
  // The list is bounded: a flood is cut off, not written past the end.
  for (int i = 0; i < MAXSOUNDEVENTS + 10; i++)
    addsoundevent(SOUND_CLICK, 0, 1, 1.0f, 1.0f, 0.0f);
  EXPECT_EQ(numofsoundevents, MAXSOUNDEVENTS);
  clearsoundevents();
}

static int mixpeak(int frames) {
  static short buffer[2 * 1024];
  int peak = 0;
  for (int done = 0; done < frames; done += 1024) {
    mixsound(buffer, 1024);
    for (short s : buffer)
      peak = abs(s) > peak ? abs(s) : peak;
  }
  return peak;
}

TEST(Sound, MixerHeadroomVoicesAndSilence) {
  resetmixer();
  setsoundlevel(1, 100);
  // One first break is a loud, short transient, then silence.
  soundeventinfo snap = {SOUND_SNAP, 1, 1, 0.85f, 1.0f, 0.0f};
  queuesoundframe(&snap, 1);
  EXPECT_GT(mixpeak(2048), 8000);
  mixpeak(SOUNDRATE);
  EXPECT_EQ(mixpeak(SOUNDRATE), 0);
  // Eight steps of breaks in one very fast frame are one snap.
  soundeventinfo frame[8] = {snap, snap, snap, snap, snap, snap, snap, snap};
  queuesoundframe(frame, 8);
  mixpeak(1);
  EXPECT_EQ(countvoices(), 1);
  // A burst of everything at once, every frame for two seconds, at full
  // volume, each fit to clip a plain sum many times over: the limiter
  // bends it under full scale, and the voices stay within their limit.
  int peak = 0;
  for (int f = 0; f < 120; f++) {
    soundeventinfo burst[NUMSOUNDTYPES];
    for (int t = 0; t < NUMSOUNDTYPES; t++)
      burst[t] = {t, f, 500, 1.0f, 0.5f + 0.01f * (float)f, t % 2 ? 1.0f : -1.0f};
    queuesoundframe(burst, NUMSOUNDTYPES);
    peak = std::max(peak, mixpeak(368));
    ASSERT_LE(countvoices(), MAXVOICES);
  }
  EXPECT_TRUE(peak > 25000 && peak < 32767) << peak;
  // The rumble stops soon after its steps do (a pause, the end of a run).
  mixpeak(SOUNDRATE * 2);
  soundeventinfo rumble = {SOUND_RUMBLE, 1, 1, 1.0f, 1.0f, 0.0f};
  queuesoundframe(&rumble, 1);
  EXPECT_GT(mixpeak(SOUNDRATE / 10), 500);
  mixpeak(SOUNDRATE / 2);
  EXPECT_EQ(mixpeak(SOUNDRATE / 10), 0);
  // Switched off: silent at once, whatever was playing or queued.
  queuesoundframe(&snap, 1);
  mixpeak(64);
  queuesoundframe(&snap, 1);
  setsoundlevel(0, 100);
  EXPECT_EQ(std::vector<int>({mixpeak(SOUNDRATE), countvoices()}), std::vector<int>({0, 0}));
  // A ring left unread fills and drops the rest rather than overwrite: the
  // faint breaks queued first are heard, not the loud ones after them.
  setsoundlevel(1, 100);
  soundeventinfo faint = {SOUND_SNAP, 1, 1, 0.01f, 1.0f, 0.0f};
  for (int i = 0; i < 2 * SOUNDRING; i++)
    queuesoundframe(i < SOUNDRING ? &faint : &snap, 1);
  EXPECT_LT(mixpeak(1024), 2000);
  EXPECT_EQ(countvoices(), MAXVOICES);
  resetmixer();
}

class SoundConfig : public tempdirtest {};

TEST_F(SoundConfig, LinesOnlyWhenChangedAndDeviceFirst) {
  config = {1024, 768, 16, 16, 0, 1, 0};
  const std::string five = "screenwidth=1024\r\nscreenheight=768\r\ncolordepth=16\r\nfullscreen=1\r\ndirectory=0\r\n";
  const struct { int on, volume; std::string extra; } rows[] = {
      {1, DEFAULTVOLUME, ""}, {0, DEFAULTVOLUME, "sound=0\r\n"}, {1, 50, "volume=50\r\n"}, {0, 25, "sound=0\r\nvolume=25\r\n"}};
  for (const auto &r : rows) {
    dirnum = 0, colorsafe = 0, soundon = r.on, soundvolume = r.volume;
    ASSERT_EQ(saveoptions(), 1);
    EXPECT_EQ(readbytes<std::string>("config.txt"), five + r.extra);
  }
  // Both lines as saved read back; out of range, or a key without a number:
  // kept within 0..100, or left alone.
  const struct { std::string text; int on, volume; } files[] = {
      {five + "sound=0\r\nvolume=25\r\n", 0, 25}, {"volume=250", 1, 100}, {"volume=-5\r\nsound=7", 1, 0},
      {"sound=", 1, DEFAULTVOLUME}, {"sound=0 volume", 0, DEFAULTVOLUME}};
  for (const auto &f : files) {
    writebytes("config.txt", f.text);
    loadoptions();
    EXPECT_TRUE(soundon == f.on && soundvolume == f.volume) << f.text;
  }
  soundon = 1, soundvolume = DEFAULTVOLUME;
  // The sound library starts only where it has something to play on: a card's
  // playback node or an OSS device, a server's socket, or a driver the player
  // named; a machine with none stays silent without waking it.
  mkdir("dev", 0777), mkdir("dev/snd", 0777), mkdir("run", 0777), mkdir("run/pulse", 0777);
  writebytes("dev/snd/controlC0", std::string()), writebytes("dev/snd/pcmC0D0c", std::string());
  EXPECT_EQ(findsounddevice(NULL, "", "run", "dev") + findsounddevice("", NULL, NULL, "missing"), 0);
  EXPECT_EQ(findsounddevice("disk", NULL, NULL, "dev") + findsounddevice(NULL, "tcp:host", NULL, "dev"), 2);
  writebytes("run/pulse/native", std::string()), writebytes("dev/snd/pcmC1D0p", std::string());
  EXPECT_EQ(findsounddevice(NULL, NULL, "run", "missing") + findsounddevice(NULL, NULL, NULL, "dev"), 2);
  unlink("dev/snd/pcmC1D0p"), writebytes("dev/dsp", std::string());
  EXPECT_EQ(findsounddevice(NULL, NULL, NULL, "dev"), 1);
}
