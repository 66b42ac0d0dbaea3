// Hint files of any size and content: a hint only from a file of printable
// text within the size limit, never more lines or longer lines than the
// help page holds, and each line's text taken from the file.
#include "fuzz.h"
#include "world/hint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  writefuzzfile("hint.txt", data, size);
  memset(&levelhint, 0x41, sizeof levelhint);
  int steps = loadhint("hint");
  FUZZCHECK(steps == levelhint.numofsteps && steps >= 0 && steps <= MAXHINTSTEPS);
  // Text: a visible character within the part of its line the page keeps.
  int text = 0, clean = size <= (size_t)MAXHINTBYTES, column = 0;
  for (size_t i = 0; i < size; i++) {
    clean &= (data[i] >= 32 && data[i] < 127) || data[i] == '\n' || data[i] == '\r' || data[i] == '\t';
    text |= data[i] > 32 && data[i] < 127 && column < HINTLINELENGTH;
    column = data[i] == '\n' ? 0 : column + (data[i] != '\r');
  }
  // A file whose text all lies after a mark line has no first step.
  FUZZCHECK(steps == 0 || (clean && text));
  std::string file((const char *)data, size);
  file.erase(std::remove(file.begin(), file.end(), '\r'), file.end());
  for (int s = 0; s < MAXHINTSTEPS; s++) {
    int lines = levelhint.numoflines[s];
    FUZZCHECK(lines >= 0 && lines <= MAXHINTLINES && (lines > 0) == (s < steps));
    for (int i = 0; i < lines; i++) {
      std::string line(levelhint.line[s][i], strnlen(levelhint.line[s][i], HINTLINELENGTH + 1));
      FUZZCHECK(line.size() <= (size_t)HINTLINELENGTH);
      FUZZCHECK(std::all_of(line.begin(), line.end(), [](char c) { return c >= 32 && c < 127; }));
      // The line's first word, cut at the page width perhaps, is in the file.
      FUZZCHECK(file.find(line.substr(0, line.find(' '))) != std::string::npos);
    }
    FUZZCHECK(lines == 0 || levelhint.line[s][lines - 1][strspn(levelhint.line[s][lines - 1], " ")] != 0);
  }
  return 0;
}
