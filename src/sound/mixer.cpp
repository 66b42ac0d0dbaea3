#include "sound/mixer.h"

#include <atomic>
#include <math.h>

constexpr float TWOPI = 6.28318530718f;
// Sums are scaled to leave room for several loud sounds at once; what
// still goes past KNEE is bent smoothly towards full scale and never
// reaches it (below), so a burst of breaks cannot clip.
constexpr float MASTER = 0.6f;
constexpr float KNEE = 0.5f;
constexpr float FULLSCALE = 32000.0f;  // under 32767 on purpose: the limiter's ceiling
constexpr float RUMBLEGAIN = 0.35f;
constexpr float RUMBLEHOLD = 0.12f;    // s the rumble lasts past its last step (slow speed steps every 64 ms)

struct voiceinfo {
  int playing;       // 0 free
  int type;          // SOUND_*
  int age;           // frames rendered
  int length;        // frames in all
  float gain;
  float left, right; // pan gains
  float env[3];      // envelopes, each multiplied by its decay every frame
  float decay[3];
  float phase[3];    // oscillator phases in cycles
  float freq[3];     // cycles per frame
  float sweep;       // freq[0] multiplier per frame
  float low, high;   // one-pole filter states
  float cutoff;      // one-pole coefficient of the splash's darkening noise
  float y1, y2;      // two-pole resonator state
  float ra, rb, rin; // resonator feedback coefficients and input gain
  float rate;        // creak pulses per frame
  int next;          // frames to the next creak pulse or splash bubble
  unsigned noise;
};

struct rumbleinfo {
  float target, level;
  float pitch;
  float pan;
  int hold;          // frames left before the target falls to 0
  float brown, low, lower;
  float phase;
  float clack;       // frames to the next wheel clack
  float y1, y2;
  unsigned noise;
};

static voiceinfo voice[MAXVOICES];
static rumbleinfo rumble = {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x9e3779b9u};

static soundeventinfo ring[SOUNDRING];
static std::atomic<unsigned> ringhead{0};  // written by the main thread only
static std::atomic<unsigned> ringtail{0};  // written by the callback only
static std::atomic<int> soundon{1};
static std::atomic<int> soundvolume{100};
static unsigned seed = 0x2545f491u;

// xorshift32: a different sequence per voice, the same every run.
static float noise(unsigned *state) {
  unsigned x = *state;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  *state = x;
  return (float)(int)x * (1.0f / 2147483648.0f);
}

static float decayper(float seconds) { return expf(-1.0f / (seconds * (float)SOUNDRATE)); }
static float hz(float f) { return f / (float)SOUNDRATE; }

// A resonator y = rin·x + ra·y1 − rb·y2 ringing at f, its impulse peak
// scaled to about 1 by rin = sin w (the peak of r^n sin((n+1)w) / sin w).
static void setresonator(voiceinfo *v, float f, float r) {
  float w = TWOPI * hz(f);
  v->ra = 2.0f * r * cosf(w);
  v->rb = r * r;
  v->rin = sinf(w);
}

static float resonate(voiceinfo *v, float x) {
  float y = v->rin * x + v->ra * v->y1 - v->rb * v->y2;
  v->y2 = v->y1;
  v->y1 = y;
  return y;
}

static voiceinfo *takevoice() {
  voiceinfo *quietest = &voice[0];
  float least = 2.0f;
  for (int i = 0; i < MAXVOICES; i++) {
    if (!voice[i].playing)
      return &voice[i];
    float left = voice[i].gain * (1.0f - (float)voice[i].age / (float)voice[i].length);
    if (left < least)
      least = left, quietest = &voice[i];
  }
  return quietest;
}

static void startvoice(const soundeventinfo *e) {
  float p = e->pitch > 0.1f && e->pitch < 10.0f ? e->pitch : 1.0f;
  float g = e->strength > 0.0f ? (e->strength < 1.0f ? e->strength : 1.0f) : 0.0f;
  float pan = e->pan < -1.0f ? -1.0f : e->pan > 1.0f ? 1.0f : e->pan == e->pan ? e->pan : 0.0f;
  if (e->type == SOUND_RUMBLE) {
    rumble.target = g;
    rumble.pitch = p;
    rumble.pan = pan;
    rumble.hold = (int)(RUMBLEHOLD * SOUNDRATE);
    return;
  }
  voiceinfo *v = takevoice();
  *v = {};
  v->playing = 1;
  v->type = e->type;
  v->gain = g;
  v->left = sqrtf(0.5f * (1.0f - pan));
  v->right = sqrtf(0.5f * (1.0f + pan));
  v->noise = (seed = seed * 1664525u + 1013904223u) | 1u;
  for (int k = 0; k < 3; k++)
    v->env[k] = 1.0f, v->decay[k] = 1.0f;
  v->sweep = 1.0f;
  switch (e->type) {
  case SOUND_SNAP:
    // A crack of bright noise over a knock that drops in pitch; a bigger
    // snap (p < 1) rings longer and lower.
    v->length = (int)(0.6f / p * SOUNDRATE);
    v->decay[0] = decayper(0.02f / p);
    v->decay[1] = decayper(0.08f / p);
    v->freq[1] = hz(170.0f * p);
    v->sweep = decayper(0.5f);
    break;
  case SOUND_CREAK:
    // Stick and slip: a quickening train of pulses rings a wooden
    // resonance; stress raises both.
    v->length = (int)(0.3f * SOUNDRATE);
    v->rate = hz(38.0f * p);
    setresonator(v, 430.0f * p, 0.985f);
    break;
  case SOUND_BUMP:
    v->length = (int)(0.5f * SOUNDRATE);
    v->freq[0] = hz(110.0f);
    v->sweep = powf(45.0f / 110.0f, 1.0f / (0.2f * SOUNDRATE));
    v->decay[0] = decayper(0.12f);
    v->decay[1] = decayper(0.03f);
    break;
  case SOUND_CHIME: {
    // A rising major triad, each note a sine with a little octave, a bell's
    // decay, the notes 90 ms apart.
    static const float note[3] = {784.0f, 988.0f, 1175.0f};
    v->length = (int)(1.4f * SOUNDRATE);
    for (int k = 0; k < 3; k++) {
      v->freq[k] = hz(note[k] * p);
      v->decay[k] = decayper(0.35f);
    }
    break;
  }
  case SOUND_SPLASH: {
    // Noise darkening as it falls away, with bubbles chirping upwards.
    float size = e->count > 1 ? 1.0f + 0.15f * log2f((float)e->count) : 1.0f;
    if (size > 2.0f)
      size = 2.0f;
    v->length = (int)(0.9f * size * SOUNDRATE);
    v->decay[0] = decayper(0.22f * size);
    v->decay[1] = decayper(0.015f);
    v->env[1] = 0.0f;
    v->cutoff = 0.6f / p > 0.9f ? 0.9f : 0.6f / p;
    v->sweep = decayper(0.35f);
    break;
  }
  case SOUND_CLICK:
  default:
    v->type = SOUND_CLICK;
    v->length = (int)(0.015f * SOUNDRATE);
    v->freq[0] = hz(1400.0f * p);
    v->decay[0] = decayper(0.002f);
    v->gain *= 0.5f;
    break;
  }
  if (v->length < 1)
    v->length = 1;
}

static float sine(float *phase, float freq) {
  float s = sinf(TWOPI * *phase);
  *phase += freq;
  if (*phase >= 1.0f)
    *phase -= 1.0f;
  return s;
}

static float rendersnap(voiceinfo *v) {
  float n = noise(&v->noise);
  v->low += 0.3f * (n - v->low);
  float crack = (n - v->low) * v->env[0];
  float knock = sine(&v->phase[1], v->freq[1]) * v->env[1];
  v->freq[1] *= v->sweep;
  v->env[0] *= v->decay[0];
  v->env[1] *= v->decay[1];
  return 0.8f * crack + 0.6f * knock;
}

static float rendercreak(voiceinfo *v) {
  float t = (float)v->age / (float)v->length;
  float pulse = 0.0f;
  if (--v->next <= 0) {
    pulse = 1.0f;
    float rate = v->rate * (1.0f + 0.6f * t) * (1.0f + 0.2f * noise(&v->noise));
    v->next = (int)(1.0f / rate);
  }
  return 1.3f * resonate(v, pulse) * sinf(3.14159265f * t);
}

static float renderbump(voiceinfo *v) {
  float n = noise(&v->noise);
  v->low += 0.05f * (n - v->low);
  float thud = sine(&v->phase[0], v->freq[0]) * v->env[0];
  v->freq[0] *= v->sweep;
  float s = 0.9f * thud + 4.0f * v->low * v->env[1];
  v->env[0] *= v->decay[0];
  v->env[1] *= v->decay[1];
  return s;
}

static float renderchime(voiceinfo *v) {
  float s = 0.0f;
  for (int k = 0; k < 3; k++) {
    if (v->age < k * SOUNDRATE * 9 / 100)
      continue;
    float a = sine(&v->phase[k], v->freq[k]);
    s += (a + 0.25f * sinf(2.0f * TWOPI * v->phase[k])) * v->env[k];
    v->env[k] *= v->decay[k];
  }
  return 0.35f * s;
}

static float rendersplash(voiceinfo *v) {
  float n = noise(&v->noise);
  v->low += v->cutoff * (n - v->low);
  v->high += v->cutoff * (v->low - v->high);
  v->cutoff *= v->sweep;
  float attack = v->age < SOUNDRATE / 100 ? (float)v->age / (float)(SOUNDRATE / 100) : 1.0f;
  float s = 1.6f * v->high * v->env[0] * attack;
  v->env[0] *= v->decay[0];
  if (--v->next <= 0) {
    // A bubble every 10 to 50 ms, from 600 to 1600 Hz.
    v->next = (int)((0.03f + 0.02f * noise(&v->noise)) * SOUNDRATE);
    v->freq[1] = hz(1100.0f + 500.0f * noise(&v->noise));
    v->env[1] = 0.5f * v->env[0];
  }
  s += sine(&v->phase[1], v->freq[1]) * v->env[1];
  v->freq[1] *= 1.00006f;
  v->env[1] *= v->decay[1];
  return s;
}

static float renderclick(voiceinfo *v) {
  float s = sine(&v->phase[0], v->freq[0]) * v->env[0];
  v->env[0] *= v->decay[0];
  return s;
}

static float rendervoice(voiceinfo *v) {
  switch (v->type) {
  case SOUND_SNAP: return rendersnap(v);
  case SOUND_CREAK: return rendercreak(v);
  case SOUND_BUMP: return renderbump(v);
  case SOUND_CHIME: return renderchime(v);
  case SOUND_SPLASH: return rendersplash(v);
  default: return renderclick(v);
  }
}

// Brown noise and a low hum, louder and higher with the locomotive's
// speed, and the wheels clacking over rail joints faster as it speeds up.
static float renderrumble() {
  rumbleinfo *r = &rumble;
  if (r->hold > 0 && --r->hold == 0)
    r->target = 0.0f;
  // Rises over about 90 ms, falls over about 25: a pause or the end of a
  // run goes quiet at once.
  r->level += (r->target - r->level) * (r->target > r->level ? 0.0005f : 0.002f);
  if (r->level < 0.0001f && r->target == 0.0f)
    return 0.0f;
  float n = noise(&r->noise);
  r->brown = 0.995f * r->brown + 0.05f * n;
  r->low += 0.1f * (r->brown - r->low);
  r->lower += 0.1f * (r->low - r->lower);
  float hum = sinf(TWOPI * r->phase) + 0.5f * sinf(2.0f * TWOPI * r->phase);
  r->phase += hz(38.0f * r->pitch);
  if (r->phase >= 1.0f)
    r->phase -= 1.0f;
  float pulse = 0.0f;
  r->clack -= 1.0f;
  if (r->clack <= 0.0f) {
    pulse = 1.0f;
    r->clack = (float)SOUNDRATE / (2.0f + 6.0f * r->level);
  }
  // The clack rings at 160 Hz with r = 0.99: a = 2r cos w, b = r².
  const float w = TWOPI * 160.0f / (float)SOUNDRATE;
  float y = sinf(w) * pulse + 2.0f * 0.99f * cosf(w) * r->y1 - 0.9801f * r->y2;
  r->y2 = r->y1;
  r->y1 = y;
  return RUMBLEGAIN * r->level * (1.2f * r->lower + 0.3f * hum + 0.4f * y);
}

// Straight up to KNEE, then a tanh bend that approaches 1 and never gets
// there.
static float limit(float x) {
  float a = fabsf(x);
  if (a <= KNEE)
    return x;
  float bent = KNEE + (1.0f - KNEE) * tanhf((a - KNEE) / (1.0f - KNEE));
  return x < 0.0f ? -bent : bent;
}

static void takering(int start) {
  unsigned tail = ringtail.load(std::memory_order_relaxed);
  unsigned head = ringhead.load(std::memory_order_acquire);
  for (; tail != head; tail++)
    if (start)
      startvoice(&ring[tail % SOUNDRING]);
  ringtail.store(tail, std::memory_order_release);
}

static void silencevoices() {
  for (int i = 0; i < MAXVOICES; i++)
    voice[i].playing = 0;
  rumble = {};
  rumble.noise = 0x9e3779b9u;
}

void mixsound(short *out, int frames) {
  int on = soundon.load(std::memory_order_relaxed);
  float gain = MASTER * (float)soundvolume.load(std::memory_order_relaxed) / 100.0f;
  takering(on);
  if (!on) {
    silencevoices();
    for (int i = 0; i < 2 * frames; i++)
      out[i] = 0;
    return;
  }
  float rl = sqrtf(0.5f * (1.0f - rumble.pan)), rr = sqrtf(0.5f * (1.0f + rumble.pan));
  for (int f = 0; f < frames; f++) {
    float r = renderrumble();
    float left = r * rl, right = r * rr;
    for (int i = 0; i < MAXVOICES; i++) {
      voiceinfo *v = &voice[i];
      if (!v->playing)
        continue;
      float s = v->gain * rendervoice(v);
      left += s * v->left;
      right += s * v->right;
      if (++v->age >= v->length)
        v->playing = 0;
    }
    out[2 * f] = (short)lrintf(limit(left * gain) * FULLSCALE);
    out[2 * f + 1] = (short)lrintf(limit(right * gain) * FULLSCALE);
  }
}

static void pushring(const soundeventinfo *e) {
  unsigned head = ringhead.load(std::memory_order_relaxed);
  unsigned tail = ringtail.load(std::memory_order_acquire);
  if (head - tail >= (unsigned)SOUNDRING)
    return;
  ring[head % SOUNDRING] = *e;
  ringhead.store(head + 1, std::memory_order_release);
}

void queuesoundframe(const soundeventinfo *events, int count) {
  soundeventinfo merged[NUMSOUNDTYPES];
  int have[NUMSOUNDTYPES] = {};
  for (int i = 0; i < count; i++) {
    const soundeventinfo &e = events[i];
    if (e.type < 0 || e.type >= NUMSOUNDTYPES)
      continue;
    soundeventinfo &m = merged[e.type];
    if (!have[e.type]) {
      m = e;
      have[e.type] = 1;
    } else if (e.type == SOUND_SNAP || e.type == SOUND_SPLASH) {
      // Breaks and splashes of several steps sound as one, bigger.
      m.count += e.count;
      m.strength = fminf(1.0f, fmaxf(m.strength, e.strength) + 0.1f);
      m.pitch = fminf(m.pitch, e.pitch);
    } else if (e.type == SOUND_RUMBLE || e.strength >= m.strength) {
      m = e;  // the rumble follows the latest step; others keep the loudest
    }
  }
  for (int t = 0; t < NUMSOUNDTYPES; t++)
    if (have[t])
      pushring(&merged[t]);
}

void setsoundlevel(int on, int volume) {
  soundon.store(on ? 1 : 0, std::memory_order_relaxed);
  soundvolume.store(volume < 0 ? 0 : volume > 100 ? 100 : volume, std::memory_order_relaxed);
}

void resetmixer() {
  silencevoices();
  ringhead.store(0);
  ringtail.store(0);
}

int countvoices() {
  int n = 0;
  for (int i = 0; i < MAXVOICES; i++)
    n += voice[i].playing;
  return n;
}
