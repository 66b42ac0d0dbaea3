// spanwright-verify: run the train test of a level or bridge file without a
// window, exactly as the test-run screen does with Autorun on, for level
// authors and for the tests. Exit status: 0 the train got across as the
// level asks, 1 it did not, 2 unreadable file or wrong usage.
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "sim/bond.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "testrun/testrun.h"
#include "world/level.h"
#include "world/levelfile.h"
#include "world/levellist.h"

static const char usage[] =
    "usage: spanwright-verify [--json] [--describe] [--weight N] [--progressive] [--add N]\n"
    "                         [--seconds S] [--dump-steps A,B,...] FILE\n"
    "FILE is a level or bridge file: .qzl, .qzb (current format) or .lvl, .brg (old format).\n";

constexpr int MAXDUMPS = 64;
constexpr int MAXCHANGES = 4096;

struct options {
  int json;
  int describe;
  int weight;       // 0: the level's
  int progressive;
  int add;
  int seconds;
  int numofdumps;
  int dumpstep[MAXDUMPS];
  const char *file;
};

// What one verification saw, step numbers counted from the first step.
struct report {
  int steps;
  int passedstep;               // -1: never
  int numofchanges;
  int change[MAXCHANGES][2];    // step, new state
  int numofbroken;
  int broken[MAXBEAMS][3];      // beam, step, side
  int hadbond[MAXBEAMS];        // the beam became a bond in the last rebuild
  int alive[MAXBEAMS];          // scratch: the beam's bond exists now
  int maxweight;                // progressive: -1 when no crossing got across
  int refused;                  // the train did not fit the tables
  int dumped;                   // dumps printed so far
};

static options opt;
static report run;

static int fail(int code, const char *what) {
  fprintf(stderr, "%s", what);
  return code;
}

static int parsepositive(const char *text, int *out) {
  char *end;
  errno = 0;
  long v = strtol(text, &end, 10);
  if (errno || end == text || *end || v < 1 || v > INT_MAX)
    return 0;
  *out = (int)v;
  return 1;
}

static int parsedumps(const char *text) {
  const char *p = text;
  while (*p) {
    char *end;
    errno = 0;
    long v = strtol(p, &end, 10);
    if (errno || end == p || v < 1 || v > INT_MAX || opt.numofdumps >= MAXDUMPS)
      return 0;
    opt.dumpstep[opt.numofdumps++] = (int)v;
    if (*end == ',')
      end++;
    else if (*end)
      return 0;
    p = end;
  }
  return opt.numofdumps > 0;
}

static int parseoptions(int argc, char **argv) {
  opt.add = 5000;
  opt.seconds = 120;
  for (int i = 1; i < argc; i++) {
    const char *a = argv[i];
    int hasvalue = i + 1 < argc;
    if (!strcmp(a, "--json"))
      opt.json = 1;
    else if (!strcmp(a, "--describe"))
      opt.describe = 1;
    else if (!strcmp(a, "--progressive"))
      opt.progressive = 1;
    else if (!strcmp(a, "--weight") && hasvalue)
      { if (!parsepositive(argv[++i], &opt.weight)) return 0; }
    else if (!strcmp(a, "--add") && hasvalue)
      { if (!parsepositive(argv[++i], &opt.add)) return 0; }
    else if (!strcmp(a, "--seconds") && hasvalue)
      { if (!parsepositive(argv[++i], &opt.seconds) || opt.seconds > 86400) return 0; }
    else if (!strcmp(a, "--dump-steps") && hasvalue)
      { if (!parsedumps(argv[++i])) return 0; }
    else if (a[0] == '-' && a[1])
      return 0;
    else if (opt.file)
      return 0;
    else
      opt.file = a;
  }
  return opt.file != nullptr;
}

// Load FILE with the game's own loaders, which take a bare name relative to
// the current directory: enter the file's directory for the call and come
// back. Returns 1, or 0 with the reason in `why`.
static int loadfile(const char *path, const char **why) {
  const char *slash = strrchr(path, '/');
  const char *base = slash ? slash + 1 : path;
  const char *dot = strrchr(base, '.');
  if (!dot) {
    *why = "no .qzl, .qzb, .lvl or .brg extension";
    return 0;
  }
  int isbridge, old;
  if (!strcmp(dot, ".qzl"))
    isbridge = 0, old = 0;
  else if (!strcmp(dot, ".qzb"))
    isbridge = 1, old = 0;
  else if (!strcmp(dot, ".lvl"))
    isbridge = 0, old = 1;
  else if (!strcmp(dot, ".brg"))
    isbridge = 1, old = 1;
  else {
    *why = "not a .qzl, .qzb, .lvl or .brg file";
    return 0;
  }
  FILE *probe = fopen(path, "rb");
  if (!probe) {
    *why = strerror(errno);
    return 0;
  }
  fclose(probe);
  char name[64];
  size_t length = (size_t)(dot - base);
  if (length == 0 || length > (size_t)MAXFILENAME) {
    *why = "file name too long for the game (at most 27 characters before the extension)";
    return 0;
  }
  memcpy(name, base, length);
  name[length] = 0;

  int back = open(".", O_RDONLY | O_DIRECTORY);
  if (back < 0) {
    *why = "cannot note the current directory";
    return 0;
  }
  int loaded = 0;
  if (slash) {
    char dir[PATH_MAX];
    size_t dirlength = (size_t)(slash - path);
    if (dirlength == 0)
      dirlength = 1; // "/name.qzl"
    if (dirlength >= sizeof(dir)) {
      close(back);
      *why = "path too long";
      return 0;
    }
    memcpy(dir, path, dirlength);
    dir[dirlength] = 0;
    if (chdir(dir) != 0) {
      close(back);
      *why = strerror(errno);
      return 0;
    }
  }
  loaded = old ? loadoldlevel(name, isbridge) : loadlevel(name, isbridge);
  int restored = fchdir(back);
  close(back);
  (void)restored;
  if (!loaded)
    *why = "not a valid level or bridge file";
  return loaded;
}

// JSON has no non-numbers; a file may still hold them.
static void printfloat(float v) {
  if (isfinite(v))
    printf("%.9g", (double)v);
  else
    printf("null");
}

static void printjsonstring(const char *s) {
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

static void describe() {
  printf("{\"file\": ");
  printjsonstring(opt.file);
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

static void notebonds(int *list) {
  for (int b = 0; b < numofbeams; b++)
    list[b] = 0;
  for (int i = 0; i < numofbonds; i++)
    if (bond[i].type == BOND_SPRING && bond[i].rigid == 0 && bond[i].beam >= 0 && bond[i].beam < numofbeams)
      list[bond[i].beam] = 1;
}

// A fresh bridge: forget the previous crossing's breaks and peaks.
static void startcrossing() {
  notebonds(run.hadbond);
  run.numofbroken = 0;
  for (int b = 0; b < numofbeams; b++) {
    beam[b].stress = 0.0f;
    beam[b].stresstype = 0;
  }
}

static void notebreaks(int step) {
  notebonds(run.alive);
  for (int b = 0; b < numofbeams; b++) {
    if (!run.hadbond[b] || run.alive[b])
      continue;
    int known = 0;
    for (int k = 0; k < run.numofbroken && !known; k++)
      known = run.broken[k][0] == b;
    if (!known && run.numofbroken < MAXBEAMS) {
      run.broken[run.numofbroken][0] = b;
      run.broken[run.numofbroken][1] = step;
      run.broken[run.numofbroken][2] = beam[b].stresstype;
      run.numofbroken++;
    }
  }
}

static void notestate(int step, int state) {
  if (run.numofchanges > 0 && run.change[run.numofchanges - 1][1] == state)
    return;
  if (run.numofchanges < MAXCHANGES) {
    run.change[run.numofchanges][0] = step;
    run.change[run.numofchanges][1] = state;
    run.numofchanges++;
  }
}

static void dumpstep(int step) {
  for (int d = 0; d < opt.numofdumps; d++) {
    if (opt.dumpstep[d] != step)
      continue;
    if (!opt.json)
      return;
    printf(run.dumped++ ? ", \"%d\": [" : "\"%d\": [", step);
    for (int i = 0; i < numofparticles; i++) {
      printf(i ? ", [" : "[");
      printfloat(particle[i].pos.x);
      printf(", ");
      printfloat(particle[i].pos.y);
      printf("]");
    }
    printf("]");
    return;
  }
}

// Returns 1 when the train got across (normal) or at least one crossing got
// across (progressive).
static int simulate() {
  levelnum = -1;
  game.mode = opt.progressive ? 1 : 0;
  game.weight = opt.weight ? opt.weight : level.weight;
  if (game.weight < 1)
    game.weight = 1;
  game.add = opt.add;
  game.pause = game.slow = game.fast = game.veryfast = 0;
  starttestrun(0);
  game.autorun = 1;
  run.passedstep = -1;
  run.maxweight = -1;
  startcrossing();
  notestate(0, game.state);
  if (opt.json && opt.numofdumps)
    printf(", \"dumps\": {");

  const int limit = opt.seconds * STEPSPERSECOND;
  int step = 0, crossingstart = 0;
  for (;;) {
    int before = game.state;
    int weight = game.testweight;
    simulationstep();
    step++;
    if (trainrefused) {
      run.refused = 1;
      notestate(step, game.state);
      break;
    }
    if (game.state == STATE_PROGRESSIVE && before != STATE_PROGRESSIVE) {
      // The crossing got across and the bridge was rebuilt for a heavier train.
      if (run.passedstep < 0)
        run.passedstep = step;
      run.maxweight = weight;
      notestate(step, STATE_PASSED);
      notestate(step, game.state);
      crossingstart = step;
      startcrossing();
      dumpstep(step);
      if (game.testweight > INT_MAX - game.add)
        break;
      continue;
    }
    notestate(step, game.state);
    notebreaks(step);
    dumpstep(step);
    if (game.state == STATE_PASSED) {
      run.passedstep = step;
      break;
    }
    if (step - crossingstart >= limit)
      break;
  }
  if (opt.json && opt.numofdumps)
    printf("}");
  run.steps = step;
  return opt.progressive ? run.maxweight > 0 : run.passedstep >= 0;
}

static const char *sidename(int side) { return side ? "compressed" : "stretched"; }

static int findpeakbeam() {
  int best = -1;
  for (int b = 0; b < numofbeams; b++)
    if (run.hadbond[b] && (best < 0 || beam[b].stress > beam[best].stress))
      best = b;
  return best;
}

static void printjsonresult(int passed) {
  printf(", \"result\": \"%s\", \"weight\": %d, \"steps\": %d, \"passed_step\": ",
         passed ? "passed" : "failed", opt.progressive ? game.weight : game.testweight, run.steps);
  if (run.passedstep >= 0)
    printf("%d", run.passedstep);
  else
    printf("null");
  printf(", \"train_refused\": %s, \"state_changes\": [", run.refused ? "true" : "false");
  for (int i = 0; i < run.numofchanges; i++)
    printf(i ? ", [%d, %d]" : "[%d, %d]", run.change[i][0], run.change[i][1]);
  printf("], \"broken_beams\": [");
  for (int i = 0; i < run.numofbroken; i++)
    printf(i ? ", [%d, %d, %d]" : "[%d, %d, %d]", run.broken[i][0], run.broken[i][1], run.broken[i][2]);
  printf("], \"peak_stress\": [");
  int first = 1;
  for (int b = 0; b < numofbeams; b++) {
    if (!run.hadbond[b])
      continue;
    printf(first ? "[%d, %d, " : ", [%d, %d, ", b, beam[b].stresstype);
    printfloat(beam[b].stress);
    printf("]");
    first = 0;
  }
  printf("]");
  if (opt.progressive) {
    if (run.maxweight > 0)
      printf(", \"max_weight\": %d", run.maxweight);
    else
      printf(", \"max_weight\": null");
  }
  printf("}\n");
}

static void printsummary(int passed) {
  printf("%s: %s\n", opt.file, passed ? "passed" : "failed");
  if (run.refused)
    printf("  the bridge is too large for the train: no room for it in the simulation tables\n");
  if (run.passedstep >= 0)
    printf("  across at step %d (test time %d s)\n", run.passedstep, run.passedstep / STEPSPERSECOND);
  else
    printf("  not across after %d steps (test time %d s)\n", run.steps, run.steps / STEPSPERSECOND);
  printf("  weight %d", opt.progressive ? game.weight : game.testweight);
  if (opt.progressive) {
    if (run.maxweight > 0)
      printf(", heaviest across %d (adding %d)", run.maxweight, opt.add);
    else
      printf(", none across (adding %d)", opt.add);
  }
  printf("\n  cost %d of budget %d\n", numofbeams * (int)BEAMCOST, level.budget);
  if (run.numofbroken > 0)
    printf("  first break: beam %d at step %d, %s\n", run.broken[0][0], run.broken[0][1], sidename(run.broken[0][2]));
  else
    printf("  no beam broke\n");
  int peak = findpeakbeam();
  if (peak >= 0)
    printf("  highest peak stress: beam %d, %.3f %s\n", peak, (double)beam[peak].stress, sidename(beam[peak].stresstype));
}

int main(int argc, char **argv) {
  if (!parseoptions(argc, argv))
    return fail(2, usage);
  // Refusal is detected by the return value; start from clean tables anyway.
  createlevel();
  numofjoints = 0;
  numofbeams = 0;
  const char *why = "";
  if (!loadfile(opt.file, &why)) {
    fprintf(stderr, "spanwright-verify: %s: %s\n", opt.file, why);
    return 2;
  }
  if (opt.describe) {
    describe();
    return 0;
  }
  beamtype[0] = beamtype[1] = 17.9f;
  if (opt.json) {
    printf("{\"file\": ");
    printjsonstring(opt.file);
  }
  int passed = simulate();
  if (opt.json)
    printjsonresult(passed);
  else
    printsummary(passed);
  return passed ? 0 : 1;
}
