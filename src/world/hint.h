// A level's hint: a short text beside the level file, "<level name>.txt" in
// the same pack directory, that the bridge editor's help page shows under
// its controls. A level author writes it with any text editor, so it is
// read defensively: a missing, empty, over-long or binary file is no hint.
#pragma once

constexpr int MAXHINTLINES = 3;
constexpr int HINTLINELENGTH = 72;  // characters a line keeps, what the help page's width holds
constexpr int MAXHINTBYTES = 1024;  // a larger file is not a hint

struct hintinfo {
  int numoflines;  // 0: no hint
  char line[MAXHINTLINES][HINTLINELENGTH + 1];
};

extern hintinfo levelhint;

// The hint in `size` bytes of a file: printable ASCII lines (tabs become
// spaces, CRs are dropped), blank lines at the ends skipped, at
// most MAXHINTLINES kept. Anything else (another control byte, a byte past
// 126, more than MAXHINTBYTES) makes the whole file no hint. Returns the
// number of lines, also stored in out->numoflines.
int parsehint(hintinfo *out, const unsigned char *bytes, int size);
// Reads "<name>.txt" from the current directory into levelhint; no hint
// when it cannot be read. Returns the number of lines.
int loadhint(const char *name);
void clearhint();
