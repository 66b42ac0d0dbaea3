#include "testrun/verdict.h"

#include <cstdarg>
#include <cstdio>

#include "sim/bond.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/replay.h"
#include "testrun/runrecord.h"
#include "testrun/testrun.h"
#include "world/level.h"
#include "world/levellist.h"
#include "world/records.h"

static const float WHITE[3] = {1.0f, 1.0f, 1.0f};
static const float FAILRED[3] = {1.0f, 0.42f, 0.36f};
static const float BREAKYELLOW[3] = {1.0f, 0.9f, 0.15f};
static const float GOLD[3] = {1.0f, 0.85f, 0.3f};

static void setline(verdictline *line, int y, const float *color, const char *format, ...) {
  va_list args;
  va_start(args, format);
  vsnprintf(line->text, sizeof line->text, format, args);
  va_end(args);
  line->y = y;
  for (int k = 0; k < 3; k++)
    line->color[k] = color[k];
}

float findweakestbond(int *side) {
  float weakest = -1.0f;
  *side = 0;
  for (int i = 0; i < numofbonds; i++) {
    const bondinfo *r = &bond[i];
    if (r->type != BOND_SPRING || r->rigid != 0 || r->timetolive <= 0)
      continue;
    if (r->peakstress > weakest) {
      weakest = r->peakstress;
      *side = r->peakstresstype;
    }
  }
  return weakest;
}

int getmarginline(char *out, float stress, int side) {
  out[0] = 0;
  if (!(stress >= 0.0f))
    return 0;
  // A whole bond cannot have passed breaking; 99 keeps "100 %" for none.
  int percent = stress < 1.0f ? (int)(stress * 100.0f) : 99;
  return snprintf(out, VERDICTLENGTH, "Weakest beam: %d %% of breaking, %s", percent,
                  side ? "compressed" : "stretched");
}

static const char *getfailurereason(int failure) {
  switch (failure) {
  case FAILURE_FELL: return "The train fell";
  case FAILURE_STOPPED: return "The train stopped";
  case FAILURE_TIME: return "Time ran out";
  }
  return "";
}

static void addsecondline(verdictline *line, int step, const char *format, const char *word) {
  setline(line, 48, BREAKYELLOW, format, step / STEPSPERSECOND, step % STEPSPERSECOND / 6, word);
}

int getverdictlines(verdictline *lines) {
  int n = 0, free32 = 1;
  vector2d mark;
  int passed = game.state == STATE_PASSED;
  int failed = outcome.failure != FAILURE_NONE && !passed;
  if (failed) {
    setline(&lines[n++], 0, FAILRED, "Test Failed");
    setline(&lines[n++], 16, WHITE, "%s", getfailurereason(outcome.failure));
    if (game.mode == 1) {
      if (outcome.held > 0)
        setline(&lines[n++], 32, WHITE, "Held %d", outcome.held);
      else
        setline(&lines[n++], 32, WHITE, "Held nothing");
      free32 = 0;
    }
  } else if (passed) {
    setline(&lines[n++], 0, WHITE, "Test Passed");
    // A pass by the train's rule may leave the bridge in pieces: say which.
    if (bridgebreak.count == 0)
      setline(&lines[n++], 16, WHITE, "Bridge intact");
    else
      setline(&lines[n++], 16, BREAKYELLOW, bridgebreak.count == 1 ? "%d beam broke" : "%d beams broke",
              bridgebreak.count);
  } else if (game.state > STATE_BRIDGE && game.mode == 1) {
    setline(&lines[n++], 0, WHITE, "Progressive Test");
  }

  if (outcome.firstbreak >= 0) {
    addsecondline(&lines[n++], outcome.firstbreakstep, "First break: %d.%d s, %s",
                  outcome.firstbreakside ? "compressed" : "stretched");
  } else if (findreplaymark(&mark)) {
    setline(&lines[n], 48, BREAKYELLOW, "Replay: the ringed beam breaks at %d.%d s",
            replay.breakstep / STEPSPERSECOND, replay.breakstep % STEPSPERSECOND / 6);
    n++;
  } else if (failed || passed) {
    // Nothing broke: how near the bridge came is the margin left to save on
    // or to strengthen.
    int side;
    float weakest = findweakestbond(&side);
    if (getmarginline(lines[n].text, weakest, side)) {
      lines[n].y = free32 ? 32 : 48;
      for (int k = 0; k < 3; k++)
        lines[n].color[k] = WHITE[k];
      n++;
    }
  }
  return n;
}

int getrecordline(verdictline *line, int noticeshown) {
  if (levelnum < 0 || noticeshown)
    return 0;
  if (game.mode == 0 && runrecord.cost >= 0) {
    if (runrecord.beaten & RECORD_COST)
      setline(line, 64, GOLD, "Cost %d  New best", runrecord.cost);
    else if (runrecord.cost > level.budget)
      setline(line, 64, WHITE, "Cost %d is over budget: no record", runrecord.cost);
    else if (runrecord.best >= 0)
      setline(line, 64, WHITE, "Cost %d  Best %d", runrecord.cost, runrecord.best);
    else // a first record that could not be saved
      setline(line, 64, WHITE, "Cost %d", runrecord.cost);
    return 1;
  }
  int i = findrecord(game.name);
  if (game.mode == 1 && game.state > STATE_BRIDGE && i >= 0 && record[i].weight > 0) {
    if (runrecord.beaten & RECORD_WEIGHT)
      setline(line, 64, GOLD, "Heaviest across %d  New best", record[i].weight);
    else
      setline(line, 64, WHITE, "Heaviest across %d", record[i].weight);
    return 1;
  }
  return 0;
}

const char *getspeedtext() {
  switch (game.steptime) {
  case 64: return "Speed: Slow";
  case 4: return "Speed: Fast";
  case 1: return "Speed: Very Fast";
  }
  return "Speed: Normal";
}
