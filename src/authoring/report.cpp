#include "authoring/report.h"

#include <math.h>
#include <stdio.h>

#include "authoring/json.h"
#include "authoring/pack.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"

static unsigned char members[MAXBEAMS];

static void jsonkeyfloat(const char *key, float v) { jsonkey(key), jsonfloat(v); }
static void jsonkeyint(const char *key, int v) { jsonkey(key), jsonint(v); }

void printdescription(const char *file) {
  jsonopen('{');
  jsonkey("file"), jsonstring(file);
  jsonkeyfloat("deckheight", level.deckheight);
  jsonkeyfloat("waterlevel", level.waterlevel);
  jsonkeyfloat("leftend", level.leftend);
  jsonkeyfloat("rightend", level.rightend);
  jsonkeyint("budget", level.budget);
  jsonkeyint("weight", level.weight);
  jsonkeyint("trainstart", level.trainstart);
  jsonkeyint("manualdeck", level.manualdeck);
  jsonkeyint("traintime", level.traintime);
  jsonkey("terrain"), jsonopen('[');
  for (int i = 0; i < NUMTERRAIN; i++)
    jsonfloat(level.terrain[i]);
  jsonclose();
  jsonkey("joints"), jsonopen('[');
  for (int i = 0; i < numofjoints; i++)
    jsonopen('['), jsonint(joint[i].type), jsonfloat(joint[i].pos.x), jsonfloat(joint[i].pos.y), jsonclose();
  jsonclose();
  jsonkey("beams"), jsonopen('[');
  for (int i = 0; i < numofbeams; i++)
    jsonopen('['), jsonint(beam[i].type), jsonint(beam[i].joint1), jsonint(beam[i].joint2), jsonclose();
  jsonclose();
  jsonclose();
}

const char *sidename(int side) { return side ? "compressed" : "stretched"; }


void printrunjson(int passed, const runsettings *s) {
  jsonkey("result"), jsonstring(passed ? "passed" : "failed");
  jsonkeyint("weight", s->progressive ? game.weight : game.testweight);
  jsonkeyint("steps", runlog.steps);
  jsonkey("passed_step"), jsonintornull(runlog.passedstep, runlog.passedstep >= 0);
  jsonkey("failure");
  if (runlog.failure != FAILURE_NONE)
    jsonstring(failurename(runlog.failure));
  else
    jsonnull();
  jsonkey("train_refused"), jsonbool(runlog.refused);
  jsonkey("state_changes"), jsonopen('[');
  for (int i = 0; i < runlog.numofchanges; i++)
    jsonopen('['), jsonint(runlog.change[i][0]), jsonint(runlog.change[i][1]), jsonclose();
  jsonclose();
  jsonkey("broken_beams"), jsonopen('[');
  for (int i = 0; i < runlog.numofbroken; i++)
    jsonopen('['), jsonint(runlog.broken[i][0]), jsonint(runlog.broken[i][1]), jsonint(runlog.broken[i][2]), jsonclose();
  jsonclose();
  jsonkey("peak_stress"), jsonopen('[');
  for (int b = 0; b < numofbeams; b++)
    if (runlog.hadbond[b])
      jsonopen('['), jsonint(b), jsonint(beam[b].stresstype), jsonfloat(beam[b].stress), jsonclose();
  jsonclose();
  if (s->progressive)
    jsonkey("max_weight"), jsonintornull(runlog.maxweight, runlog.maxweight > 0);
  jsonclose();
}

void printrunsummary(const char *file, int passed, const runsettings *s) {
  printf("%s: %s\n", file, passed ? "passed" : "failed");
  if (runlog.refused)
    printf("  the bridge is too large for the train: no room for it in the simulation tables\n");
  if (runlog.passedstep >= 0)
    printf("  across at step %d (test time %d s)\n", runlog.passedstep, runlog.passedstep / STEPSPERSECOND);
  else
    printf("  not across after %d steps (test time %d s)\n", runlog.steps, runlog.steps / STEPSPERSECOND);
  static const char *const why[] = {"", "the train fell", "the train stopped", "time ran out"};
  if (runlog.failure > FAILURE_NONE && runlog.failure <= FAILURE_TIME)
    printf("  %s: %s at step %d\n", s->progressive ? "the last crossing failed" : "failed", why[runlog.failure],
           runlog.steps);
  printf("  weight %d", s->progressive ? game.weight : game.testweight);
  if (s->progressive) {
    if (runlog.maxweight > 0)
      printf(", heaviest across %d (adding %d)", runlog.maxweight, s->add);
    else
      printf(", none across (adding %d)", s->add);
  }
  printf("\n  cost %d of budget %d\n", numofbeams * BEAMCOST, level.budget);
  if (runlog.numofbroken > 0)
    printf("  first break: beam %d at step %d, %s\n", runlog.broken[0][0], runlog.broken[0][1], sidename(runlog.broken[0][2]));
  else
    printf("  no beam broke\n");
  int peak = findpeakbeam();
  if (peak >= 0)
    printf("  highest peak stress: beam %d, %.3f %s\n", peak, (double)beam[peak].stress, sidename(beam[peak].stresstype));
}

const char *verdictname(const verdictinfo &v) {
  if (v.passed)
    return "passed";
  if (v.failure == FAILURE_UNBUILT)
    return "built on other anchors";
  if (v.refused)
    return "no room for the train";
  return failurename(v.failure);
}

// "passed intact", "passed, 3 beams broke", "failed (fell), 2 beams broke".
void printsecond(const verdictinfo &v) {
  if (passedintact(v)) {
    printf("passed intact");
    return;
  }
  if (v.passed)
    printf("passed");
  else
    printf("failed (%s)", verdictname(v));
  if (v.broken > 0)
    printf(", %d beam%s broke", v.broken, v.broken == 1 ? "" : "s");
}

// "held", or "failed at 0 s (passed, 3 beams broke), 4 s (failed (fell))".
void printproofsummary(const verdictinfo *r) {
  if (proofholds(r)) {
    printf("held");
    return;
  }
  printf("failed at");
  for (int s = 0, first = 1; s < PROOFSECONDS; s++) {
    if (passedintact(r[s]))
      continue;
    printf(first ? " %d s (" : ", %d s (", s);
    printsecond(r[s]);
    printf(")");
    first = 0;
  }
}

void printjsonproof(const verdictinfo *r) {
  jsonopen('[');
  for (int s = 0; s < PROOFSECONDS; s++) {
    jsonopen('{');
    jsonkeyint("train_second", s);
    jsonkey("result"), jsonstring(r[s].passed ? "passed" : "failed");
    jsonkeyint("broken", r[s].broken);
    jsonkey("failure");
    if (r[s].passed)
      jsonnull();
    else
      jsonstring(verdictname(r[s]));
    jsonkey("passed_step"), jsonintornull(r[s].passedstep, r[s].passed);
    jsonclose();
  }
  jsonclose();
}

static void printpackproof(int i) {
  const packlevel &p = packlevels[i];
  if (p.bridge.state != FILE_LOADED)
    return;
  printf("  proof of the bridge: ");
  printproofsummary(p.proof[0]);
  if (p.cheapest.state == FILE_LOADED) {
    printf("; of the cheapest: ");
    printproofsummary(p.proof[1]);
  }
  printf("\n");
}

void printpackline(int i, int proof) {
  const packlevel &p = packlevels[i];
  int cost = p.bridge.numofbeams * BEAMCOST, budget = p.level.level.budget;
  printf("%s: ", p.name);
  if (p.bridge.state == FILE_MISSING)
    printf("no bridge");
  else if (p.bridge.state == FILE_UNREADABLE)
    printf("unreadable bridge");
  else if (!p.verdict.passed)
    printf("failed (%s), cost %d of budget %d", verdictname(p.verdict), cost, budget);
  else if (cost > budget)
    printf("passed but over budget, cost %d of budget %d", cost, budget);
  else
    printf("passed, cost %d of budget %d", cost, budget);
  int cheapest = cheapestcost(i);
  if (cheapest > 0)
    printf(", budget %.0f %% above the cheapest (%d)", (budget / (double)cheapest - 1.0) * 100.0, cheapest);
  printf("\n");
  if (proof)
    printpackproof(i);
}

// A proof's verdict: null for a bridge that was never tested.
static void jsonproof(int tested, const verdictinfo *r) {
  if (tested)
    jsonbool(proofholds(r));
  else
    jsonnull();
}

void printpackjson(const char *pack, int numok, int cross, int proof) {
  jsonopen('{');
  jsonkey("pack"), jsonstring(pack);
  jsonkey("levels"), jsonopen('[');
  for (int i = 0; i < numofpacklevels; i++) {
    const packlevel &p = packlevels[i];
    int has = p.bridge.state == FILE_LOADED, cheapest = cheapestcost(i), hascheapest = p.cheapest.state == FILE_LOADED;
    jsonopen('{');
    jsonkey("name"), jsonstring(p.name);
    jsonkey("bridge"), jsonstring(has ? "loaded" : p.bridge.state == FILE_MISSING ? "missing" : "unreadable");
    jsonkey("passed"), jsonbool(has && p.verdict.passed);
    jsonkey("failure");
    if (has && !p.verdict.passed)
      jsonstring(verdictname(p.verdict));
    else
      jsonnull();
    jsonkey("within_budget"), jsonbool(has && withinbudget(i));
    jsonkey("cost"), jsonintornull(p.bridge.numofbeams * BEAMCOST, has);
    jsonkeyint("budget", p.level.level.budget);
    jsonkey("cheapest"), jsonintornull(cheapest, cheapest > 0);
    jsonkey("passed_step"), jsonintornull(p.verdict.passedstep, has && p.verdict.passed);
    if (proof) {
      jsonkey("proof"), jsonproof(has, p.proof[0]);
      jsonkey("cheapest_proof"), jsonproof(hascheapest, p.proof[1]);
      if (has)
        jsonkey("proof_seconds"), printjsonproof(p.proof[0]);
      if (hascheapest)
        jsonkey("cheapest_proof_seconds"), printjsonproof(p.proof[1]);
    }
    jsonclose();
  }
  jsonclose();
  jsonkeyint("ok", numok);
  jsonkeyint("not_ok", numofpacklevels - numok);
  if (cross) {
    int buildable = 0;
    for (int k = 0; k < numofpairs; k++)
      buildable += pairverdict[k].failure != FAILURE_UNBUILT;
    jsonkey("cross"), jsonopen('{');
    jsonkeyint("pairs", numofpairs);
    jsonkeyint("buildable", buildable);
    jsonkey("repeats"), jsonopen('[');
    for (int k = 0; k < numofpairs; k++) {
      if (!isrepeat(k))
        continue;
      jsonopen('{');
      jsonkey("bridge"), jsonstring(packlevels[pairs[k].from].name);
      jsonkey("kind"), jsonstring(pairs[k].kind ? "cheapest" : "reference");
      jsonkey("level"), jsonstring(packlevels[pairs[k].onto].name);
      jsonkeyint("cost", bridgeof(pairs[k].from, pairs[k].kind)->numofbeams * BEAMCOST);
      jsonkeyint("budget", packlevels[pairs[k].onto].level.level.budget);
      jsonclose();
    }
    jsonclose();
    jsonclose();
  }
  jsonclose();
}

int printcross(int json) {
  int repeats = 0, buildable = 0;
  for (int k = 0; k < numofpairs; k++) {
    buildable += pairverdict[k].failure != FAILURE_UNBUILT;
    if (!isrepeat(k))
      continue;
    repeats++;
    const crosspair &c = pairs[k];
    if (!json)
      printf("repeat: the %s of %s passes %s, cost %d of budget %d\n", c.kind ? "cheapest bridge" : "bridge",
             packlevels[c.from].name, packlevels[c.onto].name,
             bridgeof(c.from, c.kind)->numofbeams * BEAMCOST, packlevels[c.onto].level.level.budget);
  }
  if (!json)
    printf("cross: %d bridges on other levels, %d buildable there, %d repeats\n", numofpairs, buildable,
           repeats);
  return repeats;
}

// Which member of truss r broke first and in which panel, counted from 1 at
// the left end anchor.
static int findbreak(const bridgetables *bare, const regularinfo &r, int *member, int *panel) {
  int b = r.verdict.firstbreak;
  vector2d left, right;
  if (b < 0 || !findendanchors(bare, &left, &right) ||
      !buildregulartruss(bare, &r.truss, members) || b >= numofbeams)
    return 0;
  float mid = (joint[beam[b].joint1].pos.x + joint[beam[b].joint2].pos.x) * 0.5f;
  float width = (right.x - left.x) / (float)r.truss.panels;
  *member = members[b];
  *panel = 1 + (int)floorf((mid - left.x) / width);
  if (*panel > r.truss.panels)
    *panel = r.truss.panels;
  if (*panel < 1)
    *panel = 1;
  return 1;
}

static float panelwidth(const bridgetables *bare, const regularinfo &r) {
  vector2d left, right;
  findendanchors(bare, &left, &right);
  return (right.x - left.x) / (float)r.truss.panels;
}

static void printregularline(const bridgetables *bare, const regularinfo &r) {
  printf("  %d %s %s, panel %g, depth %g: ", r.cost, trusskindname(r.truss.kind), trusssidename(r.truss.side),
         (double)panelwidth(bare, r), (double)r.truss.depth);
  printsecond(r.verdict);
  int member, panel;
  if (r.verdict.broken > 0 && findbreak(bare, r, &member, &panel))
    printf(", first the %s of panel %d, %s", membername(member), panel, sidename(r.verdict.breakside));
  if (r.proved >= 0) {
    printf("; proof ");
    printproofsummary(r.proof);
  }
  printf("\n");
}

static void printjsonregular(const bridgetables *bare, const regularinfo &r) {
  jsonopen('{');
  jsonkeyint("cost", r.cost);
  jsonkey("kind"), jsonstring(trusskindname(r.truss.kind));
  jsonkey("side"), jsonstring(trusssidename(r.truss.side));
  jsonkeyint("panels", r.truss.panels);
  jsonkeyfloat("panel", panelwidth(bare, r));
  jsonkeyfloat("depth", r.truss.depth);
  jsonkey("result"), jsonstring(r.verdict.passed ? "passed" : "failed");
  jsonkeyint("broken", r.verdict.broken);
  jsonkey("failure");
  if (r.verdict.passed)
    jsonnull();
  else
    jsonstring(verdictname(r.verdict));
  int member, panel;
  jsonkey("first_break");
  if (r.verdict.broken > 0 && findbreak(bare, r, &member, &panel)) {
    jsonopen('{');
    jsonkey("member"), jsonstring(membername(member));
    jsonkeyint("panel", panel);
    jsonkey("side"), jsonstring(sidename(r.verdict.breakside));
    jsonclose();
  } else {
    jsonnull();
  }
  jsonkey("proof");
  if (r.proved < 0)
    jsonnull();
  else
    jsonbool(r.proved);
  jsonclose();
}

void printdump(int step) {
  char key[16];
  snprintf(key, sizeof key, "%d", step);
  jsonkey(key), jsonopen('[');
  for (int i = 0; i < numofparticles; i++)
    jsonopen('['), jsonfloat(particle[i].pos.x), jsonfloat(particle[i].pos.y), jsonclose();
  jsonclose();
}

void printproof(const char *file, const verdictinfo *r, int json) {
  int held = proofholds(r);
  if (json) {
    jsonopen('{');
    jsonkey("file"), jsonstring(file);
    jsonkey("proof"), jsonbool(held);
    jsonkey("seconds"), printjsonproof(r);
    jsonclose();
    return;
  }
  printf("%s: proof %s: %s with the train called at every second 0 to %d\n", file, held ? "held" : "failed",
         held ? "passes intact" : "does not pass intact", PROOFSECONDS - 1);
  for (int s = 0; s < PROOFSECONDS; s++) {
    printf("  train at %d s: ", s);
    printsecond(r[s]);
    if (r[s].passed)
      printf(", across at step %d", r[s].passedstep);
    printf("\n");
  }
}

void printpacksummary(int numok, int proof) {
  printf("%d levels: %d passed within budget, %d not\n", numofpacklevels, numok, numofpacklevels - numok);
  if (numok == numofpacklevels)
    return;
  printf("not passed:");
  for (int i = 0, first = 1; i < numofpacklevels; i++) {
    if (levelok(i, proof))
      continue;
    const packlevel &p = packlevels[i];
    printf(first ? " %s (%s)" : ", %s (%s)", p.name,
           p.bridge.state != FILE_LOADED ? "no bridge"
           : !p.verdict.passed           ? verdictname(p.verdict)
           : !withinbudget(i)            ? "over budget"
                                         : "proof failed");
    first = 0;
  }
  printf("\n");
}

void printcheapest(const char *bridge, const cheapestsearch *s, int allowbreaks, const char *out) {
  if (s->outcome == CHEAPEST_STARTFAILS) {
    printf("%s: fails its level's test%s; nothing to search from\n", bridge, s->start.passed ? " intact" : "");
    return;
  }
  if (s->outcome == CHEAPEST_STARTUNPROVED) {
    printf("%s: does not pass intact with the train called at every second 0 to %d; nothing to search from\n",
           bridge, PROOFSECONDS - 1);
    return;
  }
  printf("%s: cheapest found costs %d (from %d, budget %d), %d beams, %d joints\n", bridge,
         numofbeams * BEAMCOST, s->startcost, level.budget, numofbeams, numofjoints);
  if (!allowbreaks) {
    printf("  passes intact with the train called at every second 0 to %d", PROOFSECONDS - 1);
    if (s->kept < s->accepted)
      printf(" (the %d bridges accepted after it did not)", s->accepted - s->kept);
    printf("\n");
  }
  printf("  %ld candidates tested in %.1f s (%.0f a second)%s\n", s->numoftests, s->seconds,
         s->seconds > 0.0 ? (double)s->numoftests / s->seconds : 0.0,
         s->outcome == CHEAPEST_FINISHED ? "" : ", stopped at the time limit: another run may find another bridge");
  printf("  written to %s\n", out);
}

void printregular(const char *file, const bridgetables *bare, int json, int allowbreaks, const char *out) {
  int tested = 0;
  for (int i = 0; i < numofregular; i++)
    tested += regular[i].tested;
  if (json) {
    jsonopen('{');
    jsonkey("level"), jsonstring(file);
    jsonkeyint("budget", bare->level.budget);
    jsonkeyint("trusses", numofregular);
    jsonkey("best");
    if (regularbest >= 0)
      printjsonregular(bare, regular[regularbest]);
    else
      jsonnull();
    jsonkey("tested"), jsonopen('[');
    for (int i = 0; i < numofregular; i++)
      if (regular[i].tested)
        printjsonregular(bare, regular[i]);
    jsonclose();
    jsonclose();
    return;
  }
  if (regularbest >= 0) {
    const regularinfo &r = regular[regularbest];
    printf("%s: cheapest regular truss that holds: cost %d of budget %d, %s %s, panel %g, depth %g\n", file, r.cost,
           bare->level.budget, trusskindname(r.truss.kind), trusssidename(r.truss.side),
           (double)panelwidth(bare, r), (double)r.truss.depth);
  } else {
    printf("%s: no regular truss %s\n", file, allowbreaks ? "passes" : "holds");
  }
  printf("  %d trusses fit the level, %d tested cheapest first, %d dearer not tested\n", numofregular, tested,
         numofregular - tested);
  for (int i = 0; i < numofregular; i++)
    if (regular[i].tested)
      printregularline(bare, regular[i]);
  if (regularbest >= 0 && out)
    printf("  written to %s\n", out);
}
