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
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <vector>

#include "sim/bond.h"
#include "sim/particle.h"
#include "editor/editor.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"
#include "testrun/verifyrun.h"
#include "authoring/proof.h"
#include "authoring/regular.h"
#include "world/level.h"
#include "world/levelfile.h"
#include "world/levellist.h"

static const char usage[] =
    "usage: spanwright-verify [--json] [--describe] [--weight N] [--progressive] [--add N]\n"
    "                         [--seconds S] [--dump-steps A,B,...] FILE\n"
    "       spanwright-verify --proof [--json] [--seconds S] FILE\n"
    "       spanwright-verify --pack LEVELDIR [--bridges BRIDGEDIR] [--cheapest-dir DIR]\n"
    "                         [--cross] [--proof] [--json] [--seconds S]\n"
    "       spanwright-verify --cheapest BRIDGE [--out FILE] [--seconds S] [--allow-breaks]\n"
    "       spanwright-verify --regular LEVEL [--out FILE] [--json] [--seconds S] [--allow-breaks]\n"
    "FILE is a level or bridge file: .qzl, .qzb (current format) or .lvl, .brg (old format).\n"
    "--seconds S: test time (default 120); with --cheapest the wall time of the search.\n"
    "--pack: every level of the pack in playing order with the bridge of the same name\n"
    "  from BRIDGEDIR, by default the player's bridges of that pack: LEVELDIR/../../bridge/<pack>\n"
    "  (level/<pack> and bridge/<pack> of one data directory). The bridge is tested on the\n"
    "  level file's crossing. --cheapest-dir DIR holds the cheapest bridges found, same names:\n"
    "  the budget is then shown against them. Exit 0 when every level has a bridge within\n"
    "  budget that passes, 1 when not, 2 for a wrong option or an unreadable file.\n"
    "--cross: also every bridge of the pack (and every cheapest one) on every other level of\n"
    "  the pack, moved to every spot where its anchors meet that level's anchors; one that\n"
    "  passes there within its budget is a repeat, and any repeat exits 1.\n"
    "--proof: whether the bridge passes intact (no bridge beam broken) with the train called\n"
    "  at every whole second 0 to 6 of test time, one test each; exit 0 only when all seven\n"
    "  do. With --pack, every level's bridge and cheapest bridge must hold it as well.\n"
    "--cheapest: from BRIDGE, which must pass, a local search for a cheaper bridge that still\n"
    "  passes its level's normal test: removing beams and free joints, merging a joint into a\n"
    "  neighbour, moving a free joint one grid step, all by the editor's rules. Only passes\n"
    "  with no bridge beam broken count, at the train second BRIDGE was saved with; the\n"
    "  result must then hold --proof, else the search falls back to the last bridge it\n"
    "  accepted that does. BRIDGE itself must hold --proof. --allow-breaks: any pass counts\n"
    "  and the proof is not asked for.\n"
    "  The cheapest found is written with the game's own save to FILE, by default BRIDGE's\n"
    "  name with \" min\" added (\"x/01 Name.qzb\" gives \"x/01 Name min.qzb\"). Two worker\n"
    "  processes. --seconds S caps the wall time (default 60): a search that ends within it\n"
    "  gives the same bridge every run; one stopped by it writes the best found so far, which\n"
    "  may differ from run to run. Exit 1 when BRIDGE fails.\n"
    "--regular: the regular trusses a person draws first on LEVEL (Warren, with verticals,\n"
    "  Pratt, Howe, and Pratt and Howe with end verticals; above the deck, below it or both,\n"
    "  every panel count and depth on the grid that fits), built from the deck's end anchors\n"
    "  and propped on the anchors under their joints, tested cheapest first at the level's\n"
    "  train second; the cheapest that passes intact and holds --proof is the answer\n"
    "  (--allow-breaks: the cheapest that passes). One line for each truss tested, how it\n"
    "  failed and which member broke first; --out FILE saves the answer, --seconds S is the\n"
    "  test time. Exit 1 when none holds.\n";

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
  int seconds_given;
  const char *pack;         // LEVELDIR of --pack
  const char *bridges;      // BRIDGEDIR, or null for the default
  const char *cheapestdir;
  int cross;
  const char *cheapest;     // BRIDGE of --cheapest
  const char *out;
  int proof;
  int allowbreaks;
  const char *regular;      // LEVEL of --regular
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
  int failure;                  // FAILURE_* of the last crossing
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
      { if (!parsepositive(argv[++i], &opt.seconds) || opt.seconds > 86400) return 0;
        opt.seconds_given = 1; }
    else if (!strcmp(a, "--pack") && hasvalue)
      opt.pack = argv[++i];
    else if (!strcmp(a, "--bridges") && hasvalue)
      opt.bridges = argv[++i];
    else if (!strcmp(a, "--cheapest-dir") && hasvalue)
      opt.cheapestdir = argv[++i];
    else if (!strcmp(a, "--cross"))
      opt.cross = 1;
    else if (!strcmp(a, "--proof"))
      opt.proof = 1;
    else if (!strcmp(a, "--allow-breaks"))
      opt.allowbreaks = 1;
    else if (!strcmp(a, "--cheapest") && hasvalue)
      opt.cheapest = argv[++i];
    else if (!strcmp(a, "--regular") && hasvalue)
      opt.regular = argv[++i];
    else if (!strcmp(a, "--out") && hasvalue)
      opt.out = argv[++i];
    else if (!strcmp(a, "--dump-steps") && hasvalue)
      { if (!parsedumps(argv[++i])) return 0; }
    else if (a[0] == '-' && a[1])
      return 0;
    else if (opt.file)
      return 0;
    else
      opt.file = a;
  }
  // One mode at a time, each with only its own options.
  int single = opt.describe || opt.progressive || opt.weight || opt.numofdumps;
  if (opt.allowbreaks && !opt.cheapest && !opt.regular)
    return 0;
  if (opt.regular)
    return !opt.file && !opt.pack && !opt.cheapest && !opt.bridges && !opt.cheapestdir && !opt.cross &&
           !opt.proof && !single;
  if (opt.pack)
    return !opt.file && !opt.cheapest && !opt.out && !single;
  if (opt.cheapest)
    return !opt.file && !opt.json && !opt.bridges && !opt.cheapestdir && !opt.cross && !single && !opt.proof;
  if (opt.proof && single)
    return 0;
  return opt.file && !opt.bridges && !opt.cheapestdir && !opt.cross && !opt.out;
}

static int isdirectory(const char *path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
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
  // The game's loaders first look in a "bridge" or "level" subdirectory:
  // beside such a one they would read another file than the one named.
  const char *sub = isbridge ? "bridge" : "level";
  if (isdirectory(sub))
    *why = isbridge ? "its directory has a \"bridge\" subdirectory, where the game's loader would look instead"
                    : "its directory has a \"level\" subdirectory, where the game's loader would look instead";
  else if (!(loaded = old ? loadoldlevel(name, isbridge) : loadlevel(name, isbridge)))
    *why = "not a valid level or bridge file";
  int restored = fchdir(back);
  close(back);
  (void)restored;
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
  run.failure = FAILURE_NONE;
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
    // Once the verdict is certain nothing more can be learnt from the run.
    if (outcome.failure != FAILURE_NONE) {
      run.failure = outcome.failure;
      break;
    }
    if (step - crossingstart >= limit) {
      run.failure = FAILURE_TIME;
      break;
    }
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
  printf(", \"failure\": ");
  if (run.failure != FAILURE_NONE)
    printjsonstring(failurename(run.failure));
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
  static const char *const why[] = {"", "the train fell", "the train stopped", "time ran out"};
  if (run.failure > FAILURE_NONE && run.failure <= FAILURE_TIME)
    printf("  %s: %s at step %d\n", opt.progressive ? "the last crossing failed" : "failed", why[run.failure],
           run.steps);
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

// ---- Proofs: the train called at every second 0 .. 6, nothing may break.

constexpr int WORKERS = 2;
constexpr int UNBUILDABLE = FAILURE_UNBUILT;  // verdict.failure: an anchor the level lacks

static const char *verdictname(const verdictinfo &v) {
  if (v.passed)
    return "passed";
  if (v.failure == UNBUILDABLE)
    return "built on other anchors";
  if (v.refused)
    return "no room for the train";
  return failurename(v.failure);
}

// "passed intact", "passed, 3 beams broke", "failed (fell), 2 beams broke".
static void printsecond(const verdictinfo &v) {
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
static void printproofsummary(const verdictinfo *r) {
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

static void printjsonproof(const verdictinfo *r) {
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

static bridgetables proofbridge;

static int loadproofbridge(int) {
  loadbridgetables(&proofbridge);
  return 1;
}

static int proveone() {
  savebridgetables(&proofbridge);
  verdictinfo r[PROOFSECONDS];
  if (!runproofs(loadproofbridge, 1, opt.seconds, WORKERS, r))
    return fail(2, "spanwright-verify: a worker process failed\n");
  int held = proofholds(r);
  if (opt.json) {
    printf("{\"file\": ");
    printjsonstring(opt.file);
    printf(", \"proof\": %s, \"seconds\": ", held ? "true" : "false");
    printjsonproof(r);
    printf("}\n");
  } else {
    printf("%s: proof %s: %s with the train called at every second 0 to %d\n", opt.file,
           held ? "held" : "failed", held ? "passes intact" : "does not pass intact", PROOFSECONDS - 1);
    for (int s = 0; s < PROOFSECONDS; s++) {
      printf("  train at %d s: ", s);
      printsecond(r[s]);
      if (r[s].passed)
        printf(", across at step %d", r[s].passedstep);
      printf("\n");
    }
  }
  return held ? 0 : 1;
}

// ---- A whole pack: every level with its bridge, and every bridge elsewhere.

constexpr int MAXPACKLEVELS = 128;
constexpr int POOLSIZE = 4 * MAXJOINTS;  // joints, and beams, of all stored files together

enum : int { FILE_MISSING = 0, FILE_LOADED = 1, FILE_UNREADABLE = 2 };

// A level or bridge file of the pack, its joints and beams kept in the pools.
struct storedfile {
  int state;  // FILE_*
  levelinfo level;
  int firstjoint, numofjoints, firstbeam, numofbeams;
};

struct packlevel {
  char name[NAMELENGTH];
  storedfile level, bridge, cheapest;
  verdictinfo verdict;
  verdictinfo proof[2][PROOFSECONDS];  // --proof: of the bridge, of the cheapest
};

// One bridge of the pack on another level of it.
struct crosspair {
  int from;  // packlevel whose bridge it is
  int kind;  // 0 its bridge, 1 its cheapest
  int onto;  // packlevel whose crossing it is tried on
};

static jointinfo pooljoint[POOLSIZE];
static int numofpooljoints;
static beaminfo poolbeam[POOLSIZE];
static int numofpoolbeams;
static packlevel packlevels[MAXPACKLEVELS];
static int numofpacklevels;
static crosspair pairs[MAXPACKLEVELS * (MAXPACKLEVELS - 1) * 2];
static int numofpairs;
static verdictinfo pairverdict[MAXPACKLEVELS * (MAXPACKLEVELS - 1) * 2];
static bridgetables scratchbridge, scratchlevel;

static int storefile(storedfile *f) {
  if (numofpooljoints + numofjoints > POOLSIZE || numofpoolbeams + numofbeams > POOLSIZE)
    return 0;
  f->level = level;
  f->firstjoint = numofpooljoints;
  f->numofjoints = numofjoints;
  memcpy(pooljoint + numofpooljoints, joint, sizeof(jointinfo) * (size_t)numofjoints);
  numofpooljoints += numofjoints;
  f->firstbeam = numofpoolbeams;
  f->numofbeams = numofbeams;
  memcpy(poolbeam + numofpoolbeams, beam, sizeof(beaminfo) * (size_t)numofbeams);
  numofpoolbeams += numofbeams;
  return 1;
}

static void expandfile(const storedfile *f, bridgetables *out) {
  out->level = f->level;
  out->numofjoints = f->numofjoints;
  memcpy(out->joint, pooljoint + f->firstjoint, sizeof(jointinfo) * (size_t)f->numofjoints);
  out->numofbeams = f->numofbeams;
  memcpy(out->beam, poolbeam + f->firstbeam, sizeof(beaminfo) * (size_t)f->numofbeams);
}

// DIR/NAME with the first of two extensions that exists, into f; a file
// that exists but does not load, or does not fit the pools, is unreadable.
static void loadpackfile(storedfile *f, const char *dir, const char *name, const char *ext,
                         const char *oldext) {
  char path[PATH_MAX];
  f->state = FILE_MISSING;
  for (int k = 0; k < 2 && f->state == FILE_MISSING; k++) {
    snprintf(path, sizeof path, "%s/%s%s", dir, name, k ? oldext : ext);
    if (access(path, F_OK) != 0)
      continue;
    const char *why = nullptr;
    numofjoints = numofbeams = 0;
    if (!loadfile(path, &why) || !storefile(f)) {
      fprintf(stderr, "spanwright-verify: %s: %s\n", path, why ? why : "too many joints in the pack");
      f->state = FILE_UNREADABLE;
    } else {
      f->state = FILE_LOADED;
    }
  }
}

// The pack's levels in the game's own list order: the list is made by the
// game's lister, standing in LEVELDIR's parent with the pack as the one
// listed pack.
static int listpack(const char *leveldir) {
  char resolved[PATH_MAX];
  if (!realpath(leveldir, resolved)) {
    fprintf(stderr, "spanwright-verify: %s: %s\n", leveldir, strerror(errno));
    return 0;
  }
  char *slash = strrchr(resolved, '/');
  if (!slash || strlen(slash + 1) >= (size_t)NAMELENGTH || !slash[1]) {
    fprintf(stderr, "spanwright-verify: %s: not a pack directory the game can list\n", leveldir);
    return 0;
  }
  memcpy(dirlist[0], slash + 1, strlen(slash + 1) + 1);
  dirlist[1][0] = 0;
  dirnum = 0;
  *slash = 0;
  int back = open(".", O_RDONLY | O_DIRECTORY);
  if (back < 0 || chdir(resolved[0] ? resolved : "/") != 0) {
    fprintf(stderr, "spanwright-verify: %s: cannot enter its parent\n", leveldir);
    if (back >= 0)
      close(back);
    return 0;
  }
  int count = getlevellist();
  int restored = fchdir(back);
  close(back);
  (void)restored;
  if (count > MAXPACKLEVELS) {
    fprintf(stderr, "spanwright-verify: %s: more than %d levels\n", leveldir, MAXPACKLEVELS);
    return 0;
  }
  if (count == 0)
    fprintf(stderr, "spanwright-verify: %s: no levels\n", leveldir);
  numofpacklevels = count;
  for (int i = 0; i < count; i++)
    memcpy(packlevels[i].name, levellist[i], NAMELENGTH);
  return count;
}

// The player's bridges of a pack: bridge/<pack> beside level/<pack>.
static int defaultbridgedir(const char *leveldir, char *out, size_t size) {
  char resolved[PATH_MAX];
  if (!realpath(leveldir, resolved))
    return 0;
  char *pack = strrchr(resolved, '/');
  if (!pack || pack == resolved)
    return 0;
  *pack++ = 0;
  char *levels = strrchr(resolved, '/');
  if (!levels || strcmp(levels + 1, "level") != 0)
    return 0;
  *levels = 0;
  return snprintf(out, size, "%s/bridge/%s", resolved, pack) < (int)size;
}

static const storedfile *bridgeof(int i, int kind) {
  return kind ? &packlevels[i].cheapest : &packlevels[i].bridge;
}

static verdictinfo teston(const storedfile *bridge, const storedfile *onto) {
  expandfile(bridge, &scratchbridge);
  expandfile(onto, &scratchlevel);
  if (!transplantbridge(&scratchbridge, &scratchlevel)) {
    verdictinfo v = {0, UNBUILDABLE, 0, -1, 0, 0.0f, 0, -1, 0};
    return v;
  }
  return runverdict(opt.seconds, 2.0f);
}

static verdictinfo packjob(int i) { return teston(&packlevels[i].bridge, &packlevels[i].level); }

// A bridge repeats on another level if it passes there moved to any spot
// where its anchors meet that level's anchors.
static verdictinfo crossjob(int k) {
  expandfile(bridgeof(pairs[k].from, pairs[k].kind), &scratchbridge);
  expandfile(&packlevels[pairs[k].onto].level, &scratchlevel);
  static vector2d shifts[MAXJOINTS];
  int count = findbridgeshifts(&scratchbridge, &scratchlevel, shifts, MAXJOINTS);
  verdictinfo v = {0, UNBUILDABLE, 0, -1, 0, 0.0f, 0, -1, 0};
  for (int i = 0; i < count && !v.passed; i++) {
    transplantbridge(&scratchbridge, &scratchlevel, shifts[i]);
    v = runverdict(opt.seconds, 2.0f);
  }
  return v;
}

static int cheapestcost(int i) {
  return packlevels[i].cheapest.state == FILE_LOADED ? packlevels[i].cheapest.numofbeams * (int)BEAMCOST
                                                     : -1;
}

static int withinbudget(int i) {
  const packlevel &p = packlevels[i];
  return p.bridge.numofbeams * (int)BEAMCOST <= p.level.level.budget;
}

static int proofok(int i) {
  const packlevel &p = packlevels[i];
  return !opt.proof || (proofholds(p.proof[0]) && (p.cheapest.state != FILE_LOADED || proofholds(p.proof[1])));
}

static int levelok(int i) {
  const packlevel &p = packlevels[i];
  return p.bridge.state == FILE_LOADED && p.verdict.passed && withinbudget(i) && proofok(i);
}

// Bridge k / 2 of the pack, its cheapest one when k is odd, on its level.
static int loadpackproof(int k) {
  const storedfile *b = bridgeof(k / 2, k % 2);
  if (b->state != FILE_LOADED)
    return 0;
  expandfile(b, &scratchbridge);
  expandfile(&packlevels[k / 2].level, &scratchlevel);
  return transplantbridge(&scratchbridge, &scratchlevel);
}

static int provepack() {
  static verdictinfo results[MAXPACKLEVELS * 2 * PROOFSECONDS];
  if (!runproofs(loadpackproof, 2 * numofpacklevels, opt.seconds, WORKERS, results))
    return 0;
  for (int i = 0; i < numofpacklevels; i++)
    memcpy(packlevels[i].proof, results + 2 * i * PROOFSECONDS, sizeof packlevels[i].proof);
  return 1;
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

static int isrepeat(int k) {
  const storedfile *b = bridgeof(pairs[k].from, pairs[k].kind);
  return pairverdict[k].passed &&
         b->numofbeams * (int)BEAMCOST <= packlevels[pairs[k].onto].level.level.budget;
}

static void printpackline(int i) {
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
  if (opt.proof)
    printpackproof(i);
}

static void printjsonint(int value, int known) {
  if (known)
    printf("%d", value);
  else
    printf("null");
}

static void printpackjson(int numok) {
  printf("{\"pack\": ");
  printjsonstring(opt.pack);
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
    if (opt.proof) {
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
  if (opt.cross) {
    int buildable = 0;
    for (int k = 0; k < numofpairs; k++)
      buildable += pairverdict[k].failure != UNBUILDABLE;
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

static void makepairs() {
  numofpairs = 0;
  for (int from = 0; from < numofpacklevels; from++)
    for (int kind = 0; kind < 2; kind++)
      for (int onto = 0; onto < numofpacklevels; onto++)
        if (onto != from && bridgeof(from, kind)->state == FILE_LOADED &&
            packlevels[onto].level.state == FILE_LOADED)
          pairs[numofpairs++] = {from, kind, onto};
}

static int printcross() {
  int repeats = 0, buildable = 0;
  for (int k = 0; k < numofpairs; k++) {
    buildable += pairverdict[k].failure != UNBUILDABLE;
    if (!isrepeat(k))
      continue;
    repeats++;
    const crosspair &c = pairs[k];
    if (!opt.json)
      printf("repeat: the %s of %s passes %s, cost %d of budget %d\n", c.kind ? "cheapest bridge" : "bridge",
             packlevels[c.from].name, packlevels[c.onto].name,
             bridgeof(c.from, c.kind)->numofbeams * (int)BEAMCOST, packlevels[c.onto].level.level.budget);
  }
  if (!opt.json)
    printf("cross: %d bridges on other levels, %d buildable there, %d repeats\n", numofpairs, buildable,
           repeats);
  return repeats;
}

static int checkpack() {
  if (!listpack(opt.pack))
    return 2;
  char bridgedir[PATH_MAX];
  if (opt.bridges)
    snprintf(bridgedir, sizeof bridgedir, "%s", opt.bridges);
  else if (!defaultbridgedir(opt.pack, bridgedir, sizeof bridgedir)) {
    fprintf(stderr, "spanwright-verify: %s is not level/<pack> of a data directory: give --bridges\n", opt.pack);
    return 2;
  }
  int unreadable = 0;
  for (int i = 0; i < numofpacklevels; i++) {
    packlevel &p = packlevels[i];
    loadpackfile(&p.level, opt.pack, p.name, ".qzl", ".lvl");
    loadpackfile(&p.bridge, bridgedir, p.name, ".qzb", ".brg");
    p.cheapest.state = FILE_MISSING;
    if (opt.cheapestdir)
      loadpackfile(&p.cheapest, opt.cheapestdir, p.name, ".qzb", ".brg");
    unreadable |= p.level.state != FILE_LOADED || p.bridge.state == FILE_UNREADABLE ||
                  p.cheapest.state == FILE_UNREADABLE;
  }
  if (unreadable)
    return 2;
  static verdictinfo results[MAXPACKLEVELS];
  if (!runjobs(packjob, numofpacklevels, WORKERS, results))
    return fail(2, "spanwright-verify: a worker process failed\n");
  for (int i = 0; i < numofpacklevels; i++)
    packlevels[i].verdict = results[i];
  if (opt.proof && !provepack())
    return fail(2, "spanwright-verify: a worker process failed\n");
  int numok = 0;
  for (int i = 0; i < numofpacklevels; i++)
    numok += levelok(i);
  int repeats = 0;
  if (opt.cross) {
    makepairs();
    if (!runjobs(crossjob, numofpairs, WORKERS, pairverdict))
      return fail(2, "spanwright-verify: a worker process failed\n");
  }
  if (!opt.json) {
    for (int i = 0; i < numofpacklevels; i++)
      printpackline(i);
    printf("%d levels: %d passed within budget, %d not\n", numofpacklevels, numok, numofpacklevels - numok);
    if (numok < numofpacklevels) {
      printf("not passed:");
      for (int i = 0, first = 1; i < numofpacklevels; i++) {
        if (levelok(i))
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
  }
  if (opt.cross)
    repeats = printcross();
  if (opt.json)
    printpackjson(numok);
  return numok == numofpacklevels && repeats == 0 ? 0 : 1;
}

// ---- The cheapest-bridge search.
//
// A local search from a passing bridge: every candidate is one editor edit
// of the bridge accepted so far, tested in full with the level's normal
// test. Removals lower the cost; a move of a free joint by one grid step
// keeps it and is taken only when it lowers the bridge's peak stress, which
// is what lets a later removal pass. Candidates of a round are tested by
// the worker pool and taken by a fixed rule on the results in candidate
// order, so the result depends only on the input bridge.

enum : int { OP_REMOVEBEAM = 0, OP_REMOVEJOINT = 1, OP_MERGEJOINT = 2, OP_MOVEJOINT = 3 };

// Joints are named by position, not index: an accepted edit reorders the
// tables, and a later round applies an edit found on the earlier bridge.
struct searchop {
  int kind;     // OP_*
  vector2d a;   // the joint, or a beam's first end
  vector2d b;   // a beam's second end, where the joint moves to, or the joint it merges into
  int gain;     // beams a removal takes away
};

constexpr int MAXOPS = 4 * MAXBEAMS;
constexpr int NOTTESTED = -2;              // verdict.failure: the wall-time cap came first
constexpr int MAXIDLEMOVES = 3;            // moves in a row that no removal follows
static const vector2d movesteps[4] = {{EDITORGRID, 0.0f}, {-EDITORGRID, 0.0f}, {0.0f, EDITORGRID}, {0.0f, -EDITORGRID}};

static searchop ops[MAXOPS];
static int numofops;
static verdictinfo opverdict[MAXOPS];
static int oporder[MAXOPS];
static bridgetables accepted;
static bridgetables speculation[2];  // removals tested at once on top of each other
static verdictinfo acceptedverdict;
static double deadline;
static long numoftests;

// Every bridge accepted, in order, for going back from one that fails the proof.
struct acceptedbridge {
  levelinfo level;
  std::vector<jointinfo> joints;
  std::vector<beaminfo> beams;
};
static std::vector<acceptedbridge> acceptedchain;

// A pass the search may build on: intact unless the author allows breaks.
static int counts(const verdictinfo &v) { return opt.allowbreaks ? v.passed : passedintact(v); }

static double nowseconds() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

static int samepoint(vector2d p, vector2d q) { return p.x == q.x && p.y == q.y; }

static void notechain() {
  acceptedchain.push_back({accepted.level, std::vector<jointinfo>(accepted.joint, accepted.joint + accepted.numofjoints),
                           std::vector<beaminfo>(accepted.beam, accepted.beam + accepted.numofbeams)});
}

static int chainbase;  // the bridge of acceptedchain a proof job k tests is chainbase + k

static int loadchainbridge(int k) {
  const acceptedbridge &a = acceptedchain[(size_t)(chainbase + k)];
  level = a.level;
  numofjoints = (int)a.joints.size();
  memcpy(joint, a.joints.data(), sizeof(jointinfo) * a.joints.size());
  numofbeams = (int)a.beams.size();
  memcpy(beam, a.beams.data(), sizeof(beaminfo) * a.beams.size());
  return 1;
}

static int findjointat(vector2d p) {
  for (int i = 0; i < numofjoints; i++)
    if (samepoint(joint[i].pos, p))
      return i;
  return -1;
}

static int countbeamsof(int j) {
  int n = 0;
  for (int i = 0; i < numofbeams; i++)
    n += beam[i].joint1 == j || beam[i].joint2 == j;
  return n;
}

// Free joints left without a beam cost nothing but are not part of a
// bridge anyone would build.
static void deleteloosejoints() {
  for (int j = numofjoints - 1; j >= 0; j--)
    if (joint[j].type != 0 && countbeamsof(j) == 0)
      deletejoint(j);
}

// The joint's beams are taken down and built again from its new place by
// the editor's own rules: length, and no beam onto itself or twice.
static int movejoint(int j, vector2d to) {
  if (findjoint(to) != -1 || !pointabovelevel(to))
    return 0;
  int partner[64], type[64], n = 0;
  for (int i = numofbeams - 1; i >= 0; i--) {
    if (beam[i].joint1 != j && beam[i].joint2 != j)
      continue;
    if (n == 64)
      return 0;
    partner[n] = beam[i].joint1 == j ? beam[i].joint2 : beam[i].joint1;
    type[n++] = beam[i].type;
    deletebeam(i);
  }
  joint[j].pos = to;
  for (int k = 0; k < n; k++)
    if (createbeam(type[k], j, partner[k]) < 0)
      return 0;
  if (level.manualdeck == 0)
    setdecktypes();
  return 1;
}

// Joint j is taken away and its beams go to joint k instead; those that
// would now join k twice or to itself are gone with it.
static int mergejoint(int j, vector2d to) {
  vector2d partner[64];
  int type[64], n = 0;
  for (int i = 0; i < numofbeams; i++) {
    if (beam[i].joint1 != j && beam[i].joint2 != j)
      continue;
    if (n == 64)
      return 0;
    partner[n] = joint[beam[i].joint1 == j ? beam[i].joint2 : beam[i].joint1].pos;
    type[n++] = beam[i].type;
  }
  deletejoint(j);
  int k = findjointat(to);
  for (int m = 0; m < n; m++) {
    if (samepoint(partner[m], to))
      continue;
    if (createbeam(type[m], findjointat(partner[m]), k) < 0)
      return 0;
  }
  if (level.manualdeck == 0)
    setdecktypes();
  return 1;
}

// The live tables hold the accepted bridge; returns 1 when the edit could
// be made there.
static int applyop(const searchop &op) {
  int j = findjointat(op.a);
  if (j < 0 || (op.kind != OP_REMOVEBEAM && joint[j].type == 0))
    return 0;
  if (op.kind == OP_MOVEJOINT)
    return movejoint(j, op.b);
  if (op.kind == OP_MERGEJOINT) {
    if (findjointat(op.b) < 0 || !mergejoint(j, op.b))
      return 0;
  }
  if (op.kind == OP_REMOVEJOINT) {
    deletejoint(j);
  } else if (op.kind == OP_REMOVEBEAM) {
    int k = findjointat(op.b), found = -1;
    for (int i = 0; k >= 0 && i < numofbeams && found < 0; i++)
      if ((beam[i].joint1 == j && beam[i].joint2 == k) || (beam[i].joint1 == k && beam[i].joint2 == j))
        found = i;
    if (found < 0)
      return 0;
    deletebeam(found);
  }
  deleteloosejoints();
  return 1;
}

static verdictinfo searchjob(int i) {
  verdictinfo v = {0, NOTTESTED, 0, -1, 0, 0.0f, 0, -1, 0};
  if (nowseconds() > deadline)
    return v;
  loadbridgetables(&accepted);
  if (!applyop(ops[i])) {
    v.failure = UNBUILDABLE;
    return v;
  }
  // A move is only wanted with less stress than the accepted bridge.
  return runverdict(TESTSECONDS, ops[i].kind == OP_MOVEJOINT ? acceptedverdict.peakstress : 2.0f);
}

static void addop(int kind, vector2d a, vector2d b, int gain) {
  if (numofops < MAXOPS)
    ops[numofops++] = {kind, a, b, gain};
}

// A removal is kept as a candidate only when it can be made and saves a
// beam; its gain is measured by making it.
static void addremoval(int kind, vector2d a, vector2d b) {
  loadbridgetables(&accepted);
  searchop op = {kind, a, b, 0};
  if (applyop(op) && numofbeams < accepted.numofbeams)
    addop(kind, a, b, accepted.numofbeams - numofbeams);
}

static void makeremovals() {
  numofops = 0;
  for (int i = 0; i < accepted.numofbeams; i++)
    addremoval(OP_REMOVEBEAM, accepted.joint[accepted.beam[i].joint1].pos,
               accepted.joint[accepted.beam[i].joint2].pos);
  // A joint with one beam is that beam's removal again.
  loadbridgetables(&accepted);
  for (int j = 0; j < accepted.numofjoints; j++)
    if (accepted.joint[j].type != 0 && countbeamsof(j) > 1)
      addremoval(OP_REMOVEJOINT, accepted.joint[j].pos, accepted.joint[j].pos);
  for (int i = 0; i < accepted.numofbeams; i++) {
    const beaminfo &b = accepted.beam[i];
    addremoval(OP_MERGEJOINT, accepted.joint[b.joint1].pos, accepted.joint[b.joint2].pos);
    addremoval(OP_MERGEJOINT, accepted.joint[b.joint2].pos, accepted.joint[b.joint1].pos);
  }
}

static void makemoves() {
  numofops = 0;
  for (int j = 0; j < accepted.numofjoints; j++) {
    if (accepted.joint[j].type == 0)
      continue;
    for (int d = 0; d < 4; d++) {
      vector2d to;
      addvectors2d(&to, &accepted.joint[j].pos, &movesteps[d]);
      addop(OP_MOVEJOINT, accepted.joint[j].pos, to, 0);
    }
  }
}

// 0 when the cap came first (some candidate untested).
static int testops() {
  if (!runjobs(searchjob, numofops, WORKERS, opverdict))
    return -1;
  numoftests += numofops;
  for (int i = 0; i < numofops; i++)
    if (opverdict[i].failure == NOTTESTED)
      return 0;
  return 1;
}

// The live tables must hold the edited bridge as built, not after a run.
static void accept(const verdictinfo &v) {
  savebridgetables(&accepted);
  acceptedverdict = v;
  notechain();
}

// From the k-th passing removal on, the first that can be made on the live
// tables; it is made there. n when none is left.
static int applynext(int k, int n) {
  while (k < n && !applyop(ops[oporder[k]]))
    k++;
  return k;
}

static verdictinfo specjob(int i) {
  loadbridgetables(&speculation[i]);
  return runverdict(TESTSECONDS, 2.0f);
}

// Passing removals, most beams first, then in candidate order: the first
// was tested on the accepted bridge itself; every further one is tried on
// what has been accepted since, as if one after another. Two are tested at
// once, the second on top of the first as most of them pass; when the
// first fails, the second is made again without it, so the outcome is the
// one-after-another one. Returns beams removed, or -1 at the cap.
static int takeremovals() {
  int n = 0;
  for (int i = 0; i < numofops; i++)
    if (counts(opverdict[i]))
      oporder[n++] = i;
  for (int a = 1; a < n; a++)
    for (int b = a; b > 0 && ops[oporder[b]].gain > ops[oporder[b - 1]].gain; b--) {
      int t = oporder[b];
      oporder[b] = oporder[b - 1];
      oporder[b - 1] = t;
    }
  int before = accepted.numofbeams;
  if (n > 0) {
    loadbridgetables(&accepted);
    applyop(ops[oporder[0]]);
    accept(opverdict[oporder[0]]);
  }
  for (int k = 1; k < n;) {
    if (nowseconds() > deadline)
      return -1;
    loadbridgetables(&accepted);
    int first = applynext(k, n);
    if (first == n)
      break;
    savebridgetables(&speculation[0]);
    int second = applynext(first + 1, n);
    if (second < n)
      savebridgetables(&speculation[1]);
    verdictinfo v[2];
    if (!runjobs(specjob, second < n ? 2 : 1, WORKERS, v))
      return -1;
    numoftests += second < n ? 2 : 1;
    k = first + 1;
    if (!counts(v[0]))
      continue;
    loadbridgetables(&speculation[0]);
    accept(v[0]);
    if (second == n)
      break;
    k = second + 1;
    if (counts(v[1])) {
      loadbridgetables(&speculation[1]);
      accept(v[1]);
    }
  }
  return before - accepted.numofbeams;
}

// The passing move with the lowest peak stress below the accepted one's.
static int takemove() {
  int best = -1;
  for (int i = 0; i < numofops; i++)
    if (counts(opverdict[i]) && opverdict[i].peakstress < acceptedverdict.peakstress &&
        (best < 0 || opverdict[i].peakstress < opverdict[best].peakstress))
      best = i;
  if (best < 0)
    return 0;
  loadbridgetables(&accepted);
  applyop(ops[best]);
  accept(opverdict[best]);
  return 1;
}

// 1 finished, 0 stopped by the cap, -1 a worker failed.
static int searchcheapest() {
  int idlemoves = 0;
  for (;;) {
    makeremovals();
    int tested = testops();
    if (tested <= 0)
      return tested;
    int removed = takeremovals();
    if (removed < 0)
      return 0;
    if (removed > 0) {
      idlemoves = 0;
      continue;
    }
    if (idlemoves == MAXIDLEMOVES)
      return 1;
    makemoves();
    tested = testops();
    if (tested <= 0)
      return tested;
    if (!takemove())
      return 1;
    idlemoves++;
  }
}

// The game's save writes a bare name in the current directory, atomically;
// so enter FILE's directory, refusing one where the save would go into a
// "bridge" subdirectory instead.
static int savebridgefile(const char *path) {
  const char *slash = strrchr(path, '/');
  const char *base = slash ? slash + 1 : path;
  size_t length = strlen(base);
  if (length < 5 || strcmp(base + length - 4, ".qzb") != 0 || length - 4 > (size_t)MAXFILENAME) {
    fprintf(stderr, "spanwright-verify: %s: the output must be NAME.qzb, NAME at most %d characters\n", path,
            MAXFILENAME);
    return 0;
  }
  char name[NAMELENGTH], dir[PATH_MAX];
  memcpy(name, base, length - 4);
  name[length - 4] = 0;
  snprintf(dir, sizeof dir, "%.*s", slash ? (int)(slash == path ? 1 : slash - path) : 1, slash ? path : ".");
  int back = open(".", O_RDONLY | O_DIRECTORY), saved = 0;
  if (back >= 0 && chdir(dir) == 0) {
    if (isdirectory("bridge"))
      fprintf(stderr, "spanwright-verify: %s: its directory has a \"bridge\" subdirectory, where the game's save would write instead\n", path);
    else if (!(saved = savelevel(name, 1)))
      fprintf(stderr, "spanwright-verify: %s: could not be written\n", path);
    if (fchdir(back) != 0)
      saved = 0;
  } else {
    fprintf(stderr, "spanwright-verify: %s: %s\n", dir, strerror(errno));
  }
  if (back >= 0)
    close(back);
  return saved;
}

// BRIDGE "x/01 Name.qzb" gives "x/01 Name min.qzb".
static int defaultoutput(const char *bridge, char *out, size_t size) {
  size_t length = strlen(bridge);
  const char *dot = strrchr(bridge, '.');
  if (!dot || strchr(dot, '/'))
    dot = bridge + length;
  return snprintf(out, size, "%.*s min.qzb", (int)(dot - bridge), bridge) < (int)size;
}

static int findcheapest() {
  const char *why = "";
  numofjoints = numofbeams = 0;
  if (!loadfile(opt.cheapest, &why)) {
    fprintf(stderr, "spanwright-verify: %s: %s\n", opt.cheapest, why);
    return 2;
  }
  char out[PATH_MAX];
  if (opt.out)
    snprintf(out, sizeof out, "%s", opt.out);
  else if (!defaultoutput(opt.cheapest, out, sizeof out))
    return fail(2, "spanwright-verify: path too long\n");
  double start = nowseconds();
  deadline = start + (opt.seconds_given ? opt.seconds : 60);
  savebridgetables(&accepted);
  int startcost = accepted.numofbeams * (int)BEAMCOST;
  acceptedverdict = runverdict(TESTSECONDS, 2.0f);
  loadbridgetables(&accepted);
  numoftests = 1;
  acceptedchain.clear();
  notechain();
  chainbase = 0;
  if (!counts(acceptedverdict)) {
    printf("%s: fails its level's test%s; nothing to search from\n", opt.cheapest,
           acceptedverdict.passed ? " intact" : "");
    return 1;
  }
  verdictinfo proof[PROOFSECONDS];
  if (!opt.allowbreaks) {
    if (!runproofs(loadchainbridge, 1, TESTSECONDS, WORKERS, proof))
      return fail(2, "spanwright-verify: a worker process failed\n");
    numoftests += PROOFSECONDS;
    if (!proofholds(proof)) {
      printf("%s: does not pass intact with the train called at every second 0 to %d; nothing to search from\n",
             opt.cheapest, PROOFSECONDS - 1);
      return 1;
    }
  }
  int finished = searchcheapest();
  if (finished < 0)
    return fail(2, "spanwright-verify: a worker process failed\n");
  // Candidates were tested at one train second only: the result is the
  // last accepted bridge that holds at all of them. The first one does.
  int last = (int)acceptedchain.size() - 1, kept = last;
  for (; !opt.allowbreaks && kept > 0; kept--) {
    chainbase = kept;
    if (!runproofs(loadchainbridge, 1, TESTSECONDS, WORKERS, proof))
      return fail(2, "spanwright-verify: a worker process failed\n");
    numoftests += PROOFSECONDS;
    if (proofholds(proof))
      break;
  }
  double took = nowseconds() - start;
  chainbase = 0;
  loadchainbridge(kept);
  savebridgetables(&accepted);
  if (!savebridgefile(out))
    return 2;
  printf("%s: cheapest found costs %d (from %d, budget %d), %d beams, %d joints\n", opt.cheapest,
         accepted.numofbeams * (int)BEAMCOST, startcost, accepted.level.budget, accepted.numofbeams,
         accepted.numofjoints);
  if (!opt.allowbreaks) {
    printf("  passes intact with the train called at every second 0 to %d", PROOFSECONDS - 1);
    if (kept < last)
      printf(" (the %d bridges accepted after it did not)", last - kept);
    printf("\n");
  }
  printf("  %ld candidates tested in %.1f s (%.0f a second)%s\n", numoftests, took,
         took > 0.0 ? (double)numoftests / took : 0.0,
         finished ? "" : ", stopped at the time limit: another run may find another bridge");
  printf("  written to %s\n", out);
  return 0;
}

// ---- Regular trusses.

static bridgetables regularlevel;
static unsigned char members[MAXBEAMS];

// Which member of truss r broke first and in which panel, counted from 1 at
// the left end anchor.
static int findbreak(const regularinfo &r, int *member, int *panel) {
  int b = r.verdict.firstbreak;
  vector2d left, right;
  if (b < 0 || !findendanchors(&regularlevel, &left, &right) ||
      !buildregulartruss(&regularlevel, &r.truss, members) || b >= numofbeams)
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

static float panelwidth(const regularinfo &r) {
  vector2d left, right;
  findendanchors(&regularlevel, &left, &right);
  return (right.x - left.x) / (float)r.truss.panels;
}

static void printregularline(const regularinfo &r) {
  printf("  %d %s %s, panel %g, depth %g: ", r.cost, trusskindname(r.truss.kind), trusssidename(r.truss.side),
         (double)panelwidth(r), (double)r.truss.depth);
  printsecond(r.verdict);
  int member, panel;
  if (r.verdict.broken > 0 && findbreak(r, &member, &panel))
    printf(", first the %s of panel %d, %s", membername(member), panel, sidename(r.verdict.breakside));
  if (r.proved >= 0) {
    printf("; proof ");
    printproofsummary(r.proof);
  }
  printf("\n");
}

static void printjsonregular(const regularinfo &r) {
  printf("{\"cost\": %d, \"kind\": \"%s\", \"side\": \"%s\", \"panels\": %d, \"panel\": ", r.cost,
         trusskindname(r.truss.kind), trusssidename(r.truss.side), r.truss.panels);
  printfloat(panelwidth(r));
  printf(", \"depth\": ");
  printfloat(r.truss.depth);
  printf(", \"result\": \"%s\", \"broken\": %d, \"failure\": ", r.verdict.passed ? "passed" : "failed",
         r.verdict.broken);
  if (r.verdict.passed)
    printf("null");
  else
    printjsonstring(verdictname(r.verdict));
  int member, panel;
  if (r.verdict.broken > 0 && findbreak(r, &member, &panel))
    printf(", \"first_break\": {\"member\": \"%s\", \"panel\": %d, \"side\": \"%s\"}", membername(member), panel,
           sidename(r.verdict.breakside));
  else
    printf(", \"first_break\": null");
  printf(", \"proof\": %s}", r.proved < 0 ? "null" : r.proved ? "true" : "false");
}

static int findregular() {
  const char *why = "";
  createlevel();
  numofjoints = numofbeams = 0;
  if (!loadfile(opt.regular, &why)) {
    fprintf(stderr, "spanwright-verify: %s: %s\n", opt.regular, why);
    return 2;
  }
  savebridgetables(&regularlevel);
  vector2d left, right;
  if (!findendanchors(&regularlevel, &left, &right)) {
    fprintf(stderr, "spanwright-verify: %s: no anchor at an end of the deck to build from\n", opt.regular);
    return 2;
  }
  listregulartrusses(&regularlevel);
  if (!testregulartrusses(&regularlevel, opt.seconds, WORKERS, opt.allowbreaks))
    return fail(2, "spanwright-verify: a worker process failed\n");
  int tested = 0;
  for (int i = 0; i < numofregular; i++)
    tested += regular[i].tested;
  if (regularbest >= 0 && opt.out) {
    buildregulartruss(&regularlevel, &regular[regularbest].truss, nullptr);
    if (!savebridgefile(opt.out))
      return 2;
  }
  if (opt.json) {
    printf("{\"level\": ");
    printjsonstring(opt.regular);
    printf(", \"budget\": %d, \"trusses\": %d, \"best\": ", regularlevel.level.budget, numofregular);
    if (regularbest >= 0)
      printjsonregular(regular[regularbest]);
    else
      printf("null");
    printf(", \"tested\": [");
    for (int i = 0, first = 1; i < numofregular; i++) {
      if (!regular[i].tested)
        continue;
      if (!first)
        printf(", ");
      printjsonregular(regular[i]);
      first = 0;
    }
    printf("]}\n");
    return regularbest >= 0 ? 0 : 1;
  }
  if (regularbest >= 0) {
    const regularinfo &r = regular[regularbest];
    printf("%s: cheapest regular truss that holds: cost %d of budget %d, %s %s, panel %g, depth %g\n", opt.regular,
           r.cost, regularlevel.level.budget, trusskindname(r.truss.kind), trusssidename(r.truss.side),
           (double)panelwidth(r), (double)r.truss.depth);
  } else {
    printf("%s: no regular truss %s\n", opt.regular, opt.allowbreaks ? "passes" : "holds");
  }
  printf("  %d trusses fit the level, %d tested cheapest first, %d dearer not tested\n", numofregular, tested,
         numofregular - tested);
  for (int i = 0; i < numofregular; i++)
    if (regular[i].tested)
      printregularline(regular[i]);
  if (regularbest >= 0 && opt.out)
    printf("  written to %s\n", opt.out);
  return regularbest >= 0 ? 0 : 1;
}

int main(int argc, char **argv) {
  if (!parseoptions(argc, argv))
    return fail(2, usage);
  if (opt.regular)
    return findregular();
  if (opt.pack)
    return checkpack();
  if (opt.cheapest)
    return findcheapest();
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
  if (opt.proof)
    return proveone();
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
