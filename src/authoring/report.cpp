#include "authoring/report.h"

#include <math.h>
#include <stdio.h>

#include "authoring/pack.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"

static unsigned char members[MAXBEAMS];
static int numofdumps;  // printed so far

// JSON has no non-numbers; a file may still hold them.
void printfloat(float v) {
  if (isfinite(v))
    printf("%.9g", (double)v);
  else
    printf("null");
}

void printjsonstring(const char *s) {
  putchar('"');
  for (; *s; s++) {
    unsigned char c = (unsigned char)*s;
    if (c == '"' || c == '\\')
      printf("\\%c", c);
    else if (c < 0x20)
      printf("\\u%04x", c);
    else
      putchar(c);
  }
  putchar('"');
}

void printdescription(const char *file) {
  printf("{\"file\": ");
  printjsonstring(file);
  printf(", \"deckheight\": ");
  printfloat(level.deckheight);
  printf(", \"waterlevel\": ");
  printfloat(level.waterlevel);
  printf(", \"leftend\": ");
  printfloat(level.leftend);
  printf(", \"rightend\": ");
  printfloat(level.rightend);
  printf(", \"budget\": %d, \"weight\": %d, \"trainstart\": %d, \"manualdeck\": %d, \"traintime\": %d",
         level.budget, level.weight, level.trainstart, level.manualdeck, level.traintime);
  printf(", \"terrain\": [");
  for (int i = 0; i < NUMTERRAIN; i++) {
    if (i)
      printf(", ");
    printfloat(level.terrain[i]);
  }
  printf("], \"joints\": [");
  for (int i = 0; i < numofjoints; i++) {
    printf(i ? ", [%d, " : "[%d, ", joint[i].type);
    printfloat(joint[i].pos.x);
    printf(", ");
    printfloat(joint[i].pos.y);
    printf("]");
  }
  printf("], \"beams\": [");
  for (int i = 0; i < numofbeams; i++)
    printf(i ? ", [%d, %d, %d]" : "[%d, %d, %d]", beam[i].type, beam[i].joint1, beam[i].joint2);
  printf("]}\n");
}

const char *sidename(int side) { return side ? "compressed" : "stretched"; }


void printrunjson(int passed, const runsettings *s) {
  printf(", \"result\": \"%s\", \"weight\": %d, \"steps\": %d, \"passed_step\": ",
         passed ? "passed" : "failed", s->progressive ? game.weight : game.testweight, runlog.steps);
  if (runlog.passedstep >= 0)
    printf("%d", runlog.passedstep);
  else
    printf("null");
  printf(", \"failure\": ");
  if (runlog.failure != FAILURE_NONE)
    printjsonstring(failurename(runlog.failure));
  else
    printf("null");
  printf(", \"train_refused\": %s, \"state_changes\": [", runlog.refused ? "true" : "false");
  for (int i = 0; i < runlog.numofchanges; i++)
    printf(i ? ", [%d, %d]" : "[%d, %d]", runlog.change[i][0], runlog.change[i][1]);
  printf("], \"broken_beams\": [");
  for (int i = 0; i < runlog.numofbroken; i++)
    printf(i ? ", [%d, %d, %d]" : "[%d, %d, %d]", runlog.broken[i][0], runlog.broken[i][1], runlog.broken[i][2]);
  printf("], \"peak_stress\": [");
  int first = 1;
  for (int b = 0; b < numofbeams; b++) {
    if (!runlog.hadbond[b])
      continue;
    printf(first ? "[%d, %d, " : ", [%d, %d, ", b, beam[b].stresstype);
    printfloat(beam[b].stress);
    printf("]");
    first = 0;
  }
  printf("]");
  if (s->progressive) {
    if (runlog.maxweight > 0)
      printf(", \"max_weight\": %d", runlog.maxweight);
    else
      printf(", \"max_weight\": null");
  }
  printf("}\n");
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
  printf("\n  cost %d of budget %d\n", numofbeams * (int)BEAMCOST, level.budget);
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
  printf("[");
  for (int s = 0; s < PROOFSECONDS; s++) {
    printf(s ? ", {\"train_second\": %d, \"result\": \"%s\", \"broken\": %d, \"failure\": "
             : "{\"train_second\": %d, \"result\": \"%s\", \"broken\": %d, \"failure\": ",
           s, r[s].passed ? "passed" : "failed", r[s].broken);
    if (r[s].passed)
      printf("null");
    else
      printjsonstring(verdictname(r[s]));
    printf(", \"passed_step\": ");
    if (r[s].passed)
      printf("%d}", r[s].passedstep);
    else
      printf("null}");
  }
  printf("]");
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
  int cost = p.bridge.numofbeams * (int)BEAMCOST, budget = p.level.level.budget;
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

static void printjsonint(int value, int known) {
  if (known)
    printf("%d", value);
  else
    printf("null");
}

void printpackjson(const char *pack, int numok, int cross, int proof) {
  printf("{\"pack\": ");
  printjsonstring(pack);
  printf(", \"levels\": [");
  for (int i = 0; i < numofpacklevels; i++) {
    const packlevel &p = packlevels[i];
    int has = p.bridge.state == FILE_LOADED, cheapest = cheapestcost(i);
    printf(i ? ", {\"name\": " : "{\"name\": ");
    printjsonstring(p.name);
    printf(", \"bridge\": \"%s\", \"passed\": %s, \"failure\": ",
           has ? "loaded" : p.bridge.state == FILE_MISSING ? "missing" : "unreadable",
           has && p.verdict.passed ? "true" : "false");
    if (has && !p.verdict.passed)
      printjsonstring(verdictname(p.verdict));
    else
      printf("null");
    printf(", \"within_budget\": %s, \"cost\": ", has && withinbudget(i) ? "true" : "false");
    printjsonint(p.bridge.numofbeams * (int)BEAMCOST, has);
    printf(", \"budget\": %d, \"cheapest\": ", p.level.level.budget);
    printjsonint(cheapest, cheapest > 0);
    printf(", \"passed_step\": ");
    printjsonint(p.verdict.passedstep, has && p.verdict.passed);
    if (proof) {
      printf(", \"proof\": %s, \"cheapest_proof\": %s", !has ? "null" : proofholds(p.proof[0]) ? "true" : "false",
             p.cheapest.state != FILE_LOADED ? "null" : proofholds(p.proof[1]) ? "true" : "false");
      if (has) {
        printf(", \"proof_seconds\": ");
        printjsonproof(p.proof[0]);
      }
      if (p.cheapest.state == FILE_LOADED) {
        printf(", \"cheapest_proof_seconds\": ");
        printjsonproof(p.proof[1]);
      }
    }
    printf("}");
  }
  printf("], \"ok\": %d, \"not_ok\": %d", numok, numofpacklevels - numok);
  if (cross) {
    int buildable = 0;
    for (int k = 0; k < numofpairs; k++)
      buildable += pairverdict[k].failure != FAILURE_UNBUILT;
    printf(", \"cross\": {\"pairs\": %d, \"buildable\": %d, \"repeats\": [", numofpairs, buildable);
    int first = 1;
    for (int k = 0; k < numofpairs; k++) {
      if (!isrepeat(k))
        continue;
      printf(first ? "{\"bridge\": " : ", {\"bridge\": ");
      printjsonstring(packlevels[pairs[k].from].name);
      printf(", \"kind\": \"%s\", \"level\": ", pairs[k].kind ? "cheapest" : "reference");
      printjsonstring(packlevels[pairs[k].onto].name);
      printf(", \"cost\": %d, \"budget\": %d}", bridgeof(pairs[k].from, pairs[k].kind)->numofbeams * (int)BEAMCOST,
             packlevels[pairs[k].onto].level.level.budget);
      first = 0;
    }
    printf("]}");
  }
  printf("}\n");
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
             bridgeof(c.from, c.kind)->numofbeams * (int)BEAMCOST, packlevels[c.onto].level.level.budget);
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
  printf("{\"cost\": %d, \"kind\": \"%s\", \"side\": \"%s\", \"panels\": %d, \"panel\": ", r.cost,
         trusskindname(r.truss.kind), trusssidename(r.truss.side), r.truss.panels);
  printfloat(panelwidth(bare, r));
  printf(", \"depth\": ");
  printfloat(r.truss.depth);
  printf(", \"result\": \"%s\", \"broken\": %d, \"failure\": ", r.verdict.passed ? "passed" : "failed",
         r.verdict.broken);
  if (r.verdict.passed)
    printf("null");
  else
    printjsonstring(verdictname(r.verdict));
  int member, panel;
  if (r.verdict.broken > 0 && findbreak(bare, r, &member, &panel))
    printf(", \"first_break\": {\"member\": \"%s\", \"panel\": %d, \"side\": \"%s\"}", membername(member), panel,
           sidename(r.verdict.breakside));
  else
    printf(", \"first_break\": null");
  printf(", \"proof\": %s}", r.proved < 0 ? "null" : r.proved ? "true" : "false");
}

void printdump(int step) {
  printf(numofdumps++ ? ", \"%d\": [" : "\"%d\": [", step);
  for (int i = 0; i < numofparticles; i++) {
    printf(i ? ", [" : "[");
    printfloat(particle[i].pos.x);
    printf(", ");
    printfloat(particle[i].pos.y);
    printf("]");
  }
  printf("]");
}

void printproof(const char *file, const verdictinfo *r, int json) {
  int held = proofholds(r);
  if (json) {
    printf("{\"file\": ");
    printjsonstring(file);
    printf(", \"proof\": %s, \"seconds\": ", held ? "true" : "false");
    printjsonproof(r);
    printf("}\n");
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
         numofbeams * (int)BEAMCOST, s->startcost, level.budget, numofbeams, numofjoints);
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
    printf("{\"level\": ");
    printjsonstring(file);
    printf(", \"budget\": %d, \"trusses\": %d, \"best\": ", bare->level.budget, numofregular);
    if (regularbest >= 0)
      printjsonregular(bare, regular[regularbest]);
    else
      printf("null");
    printf(", \"tested\": [");
    for (int i = 0, first = 1; i < numofregular; i++) {
      if (!regular[i].tested)
        continue;
      if (!first)
        printf(", ");
      printjsonregular(bare, regular[i]);
      first = 0;
    }
    printf("]}\n");
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
