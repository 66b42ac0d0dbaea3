// spanwright-verify: run the train test of a level or bridge file without a
// window, exactly as the test-run screen does with Autorun on, for level
// authors and for the tests. Exit status: 0 the train got across as the
// level asks, 1 it did not, 2 unreadable file or wrong usage. The work is
// done by src/authoring; this is its options, output and exit codes.
#include <errno.h>
#include <getopt.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "authoring/cheapest.h"
#include "authoring/files.h"
#include "authoring/json.h"
#include "authoring/pack.h"
#include "authoring/proof.h"
#include "authoring/regular.h"
#include "authoring/report.h"
#include "authoring/runlog.h"
#include "editor/editor.h"

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
    "  Pratt, Howe, Pratt and Howe with end verticals, and a Warren on a Warren; above the\n"
    "  deck, below it or both, every panel count and depth on the grid that fits), built from\n"
    "  the deck's end anchors and propped on the anchors under their joints, tested cheapest\n"
    "  first at the level's train second; the cheapest that passes intact and holds --proof\n"
    "  is the answer (--allow-breaks: the cheapest that passes). One line for each truss\n"
    "  tested, how it failed and which member broke first; --out FILE saves the answer,\n"
    "  --seconds S is the test time. Exit 1 when none holds.\n";

constexpr int WORKERS = 2;

struct options {
  int json;
  int describe;
  int seconds_given;
  runsettings run;          // weight 0: the level's
  const char *file;
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

static options opt;

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

static int parsedumps(const char *p) {
  for (char *end; *p; p = *end == ',' ? end + 1 : end) {
    errno = 0;
    long v = strtol(p, &end, 10);
    if (errno || end == p || v < 1 || v > INT_MAX || opt.run.numofdumps >= MAXDUMPS || (*end && *end != ','))
      return 0;
    opt.run.dumpstep[opt.run.numofdumps++] = (int)v;
  }
  return opt.run.numofdumps > 0;
}

static int parseoptions(int argc, char **argv) {
  enum { PACK = 256, BRIDGES, CHEAPESTDIR, CHEAPEST, REGULAR, OUT, WEIGHT, ADD, SECONDS, DUMPSTEPS };
  const char **paths[] = {&opt.pack, &opt.bridges, &opt.cheapestdir, &opt.cheapest, &opt.regular, &opt.out};
  static const option longoptions[] = {
      {"json", no_argument, &opt.json, 1},
      {"describe", no_argument, &opt.describe, 1},
      {"progressive", no_argument, &opt.run.progressive, 1},
      {"cross", no_argument, &opt.cross, 1},
      {"proof", no_argument, &opt.proof, 1},
      {"allow-breaks", no_argument, &opt.allowbreaks, 1},
      {"pack", required_argument, nullptr, PACK},
      {"bridges", required_argument, nullptr, BRIDGES},
      {"cheapest-dir", required_argument, nullptr, CHEAPESTDIR},
      {"cheapest", required_argument, nullptr, CHEAPEST},
      {"regular", required_argument, nullptr, REGULAR},
      {"out", required_argument, nullptr, OUT},
      {"weight", required_argument, nullptr, WEIGHT},
      {"add", required_argument, nullptr, ADD},
      {"seconds", required_argument, nullptr, SECONDS},
      {"dump-steps", required_argument, nullptr, DUMPSTEPS},
      {nullptr, 0, nullptr, 0}};
  opt.run.add = 5000;
  opt.run.seconds = 120;
  opterr = 0;  // a wrong option is answered with the usage alone
  for (int c; (c = getopt_long(argc, argv, "", longoptions, nullptr)) != -1;) {
    if (c >= PACK && c <= OUT)
      *paths[c - PACK] = optarg;
    else if (c == WEIGHT || c == ADD)
      { if (!parsepositive(optarg, c == WEIGHT ? &opt.run.weight : &opt.run.add)) return 0; }
    else if (c == SECONDS)
      { if (!parsepositive(optarg, &opt.run.seconds) || opt.run.seconds > 86400) return 0;
        opt.seconds_given = 1; }
    else if (c == DUMPSTEPS)
      { if (!parsedumps(optarg)) return 0; }
    else if (c != 0)  // 0: a flag getopt_long has set
      return 0;
  }
  // The file may stand anywhere among the options; one at most.
  if (optind < argc)
    opt.file = argv[optind++];
  if (optind < argc)
    return 0;
  // One mode at a time, each with only its own options.
  int single = opt.describe || opt.run.progressive || opt.run.weight || opt.run.numofdumps;
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

static int loadornot(const char *path) {
  const char *why = "";
  createlevel();
  numofjoints = numofbeams = 0;
  if (loadgamefile(path, &why))
    return 1;
  complain("%s: %s", path, why);
  return 0;
}

static int workerfailed() { return fail(2, "spanwright-verify: a worker process failed\n"); }

static int saveornot(const char *path) {
  const char *why = "";
  if (savegamebridge(path, &why))
    return 1;
  complain("%s", why);
  return 0;
}

static int checkfile() {
  if (!loadornot(opt.file))
    return 2;
  if (opt.describe) {
    printdescription(opt.file);
    return 0;
  }
  if (opt.proof) {
    verdictinfo r[PROOFSECONDS];
    if (!provelive(opt.run.seconds, WORKERS, r))
      return workerfailed();
    printproof(opt.file, r, opt.json);
    return proofholds(r) ? 0 : 1;
  }
  beamtype[0] = beamtype[1] = MAXBEAMLENGTH;
  if (opt.json)
    jsonopen('{'), jsonkey("file"), jsonstring(opt.file);
  int dumps = opt.json && opt.run.numofdumps;
  if (dumps)
    jsonkey("dumps"), jsonopen('{');
  int passed = recordrun(&opt.run, dumps ? printdump : nullptr);
  if (dumps)
    jsonclose();
  if (opt.json)
    printrunjson(passed, &opt.run);
  else
    printrunsummary(opt.file, passed, &opt.run);
  return passed ? 0 : 1;
}

static int checkpack() {
  if (!listpack(opt.pack))
    return 2;
  char bridgedir[PATH_MAX];
  if (opt.bridges)
    snprintf(bridgedir, sizeof bridgedir, "%s", opt.bridges);
  else if (!findpackbridgedir(opt.pack, bridgedir, sizeof bridgedir)) {
    complain("%s is not level/<pack> of a data directory: give --bridges", opt.pack);
    return 2;
  }
  if (!loadpack(opt.pack, bridgedir, opt.cheapestdir))
    return 2;
  if (!testpack(opt.run.seconds, WORKERS) || (opt.proof && !provepack(opt.run.seconds, WORKERS)) ||
      (opt.cross && !crosspack(opt.run.seconds, WORKERS)))
    return workerfailed();
  int numok = 0, repeats = 0;
  for (int i = 0; i < numofpacklevels; i++)
    numok += levelok(i, opt.proof);
  if (!opt.json) {
    for (int i = 0; i < numofpacklevels; i++)
      printpackline(i, opt.proof);
    printpacksummary(numok, opt.proof);
  }
  if (opt.cross)
    repeats = printcross(opt.json);
  if (opt.json)
    printpackjson(opt.pack, numok, opt.cross, opt.proof);
  return numok == numofpacklevels && repeats == 0 ? 0 : 1;
}

static int findcheapest() {
  if (!loadornot(opt.cheapest))
    return 2;
  char out[PATH_MAX];
  if (opt.out)
    snprintf(out, sizeof out, "%s", opt.out);
  else if (!makeminname(opt.cheapest, out, sizeof out))
    return fail(2, "spanwright-verify: path too long\n");
  cheapestsearch search;
  if (!findcheapestbridge(opt.seconds_given ? opt.run.seconds : 60, opt.allowbreaks, WORKERS, &search))
    return workerfailed();
  int found = search.outcome == CHEAPEST_FINISHED || search.outcome == CHEAPEST_STOPPED;
  if (found && !saveornot(out))
    return 2;
  printcheapest(opt.cheapest, &search, opt.allowbreaks, out);
  return found ? 0 : 1;
}

static bridgetables regularlevel;

static int findregular() {
  if (!loadornot(opt.regular))
    return 2;
  savebridgetables(&regularlevel);
  vector2d left, right;
  if (!findendanchors(&regularlevel, &left, &right)) {
    complain("%s: no anchor at an end of the deck to build from", opt.regular);
    return 2;
  }
  listregulartrusses(&regularlevel);
  if (!testregulartrusses(&regularlevel, opt.run.seconds, WORKERS, opt.allowbreaks))
    return workerfailed();
  if (regularbest >= 0 && opt.out) {
    buildregulartruss(&regularlevel, &regular[regularbest].truss, nullptr);
    if (!saveornot(opt.out))
      return 2;
  }
  printregular(opt.regular, &regularlevel, opt.json, opt.allowbreaks, opt.out);
  return regularbest >= 0 ? 0 : 1;
}

static int run(int argc, char **argv) {
  if (!parseoptions(argc, argv))
    return fail(2, usage);
  if (opt.regular)
    return findregular();
  if (opt.pack)
    return checkpack();
  if (opt.cheapest)
    return findcheapest();
  return checkfile();
}

// A verdict whose report was lost (a full disk, stdout on /dev/full) is no
// verdict: a script reading 0 would take output it never got as passed.
static int finishoutput(int status) {
  if (fflush(stdout) != 0 || ferror(stdout) || fclose(stdout) != 0) {
    fprintf(stderr, "spanwright-verify: could not write the output: %s\n", strerror(errno));
    return 2;
  }
  return status;
}

int main(int argc, char **argv) {
  // Past a file-size limit a write fails and is reported with exit 2; the
  // signal would end the tool with no word.
  signal(SIGXFSZ, SIG_IGN);
  return finishoutput(run(argc, argv));
}
