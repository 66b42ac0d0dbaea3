// A level's hint: a short text beside the level file, "<level name>.txt" in
// the same pack directory, that the bridge editor's help page shows under
// its controls. A level author writes it with any text editor, so it is
// read defensively: a missing, empty, over-long or binary file is no hint.
//
// A hint comes in up to three steps, each a few lines, separated by a line
// holding only HINTSTEPMARK. The first is shown from the start; each later
// one opens once the player has failed that many tests on the level
// (HINTSTEPFAILURES), so help grows as it is needed. A file without the
// mark is a one-step hint, as every hint was before there were steps; an
// older copy of the game shows the first three lines of a stepped file,
// which is step 1 when it fills its three lines.
//
// Figures that belong to the level (its span, how far the water lies under
// the road, the train's weight, the budget) are written as placeholders,
// "{span}", and filled from the loaded level when the hint is shown, so a
// level that is reshaped never leaves its hint telling an old number.
#pragma once

constexpr int MAXHINTSTEPS = 3;
constexpr int MAXHINTLINES = 3;     // per step
constexpr int HINTLINELENGTH = 72;  // characters a line keeps, what the help page's width holds
constexpr int MAXHINTBYTES = 2048;  // a larger file is not a hint
#define HINTSTEPMARK "---"

// Failed tests on a level after which each step opens.
constexpr int HINTSTEPFAILURES[MAXHINTSTEPS] = {0, 3, 6};

struct hintinfo {
  int numofsteps;  // 0: no hint
  int numoflines[MAXHINTSTEPS];
  char line[MAXHINTSTEPS][MAXHINTLINES][HINTLINELENGTH + 1];
};

extern hintinfo levelhint;

// The hint in `size` bytes of a file: printable ASCII lines (tabs become
// spaces, CRs are dropped), cut into steps at each mark line; in each step
// blank lines at the ends are skipped and at most MAXHINTLINES kept. A step
// with no text ends the hint there. Anything else (another control byte, a
// byte past 126, more than MAXHINTBYTES) makes the whole file no hint.
// Returns the number of steps, also stored in out->numofsteps.
int parsehint(hintinfo *out, const unsigned char *bytes, int size);
// Reads "<name>.txt" from the current directory into levelhint; no hint
// when it cannot be read. Returns the number of steps.
int loadhint(const char *name);
void clearhint();

// How many steps of the hint are open after `failed` failed tests.
int countopenhintsteps(const hintinfo *hint, int failed);
// Failed tests still needed to open the next step; 0 when all are open.
int countfailurestonextstep(const hintinfo *hint, int failed);

// `line` with each placeholder replaced by the loaded level's figure, cut
// to HINTLINELENGTH (on a level of any sensible size a figure is shorter
// than its placeholder, so a line that fits the file fits the page). A
// placeholder the game does not know stays as written. Returns the number
// of unknown placeholders.
int fillhintline(char *out, const char *line);
