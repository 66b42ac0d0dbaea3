#include "authoring/json.h"

#include <math.h>
#include <stdio.h>

// Deeper than any report goes; a value past it is still written, only its
// separator may be wrong.
constexpr int MAXJSONDEPTH = 16;

static int depth;
static int written[MAXJSONDEPTH];  // values so far at each open level
static char closer[MAXJSONDEPTH];
static int keyed;                  // a key was written, its value is next

// Before every value: the separator from the one before it, unless the
// value follows its own key.
static void startvalue() {
  if (keyed) {
    keyed = 0;
    return;
  }
  if (depth > 0 && depth <= MAXJSONDEPTH && written[depth - 1]++ > 0)
    printf(", ");
}

void jsonopen(char bracket) {
  startvalue();
  putchar(bracket);
  if (depth < MAXJSONDEPTH) {
    written[depth] = 0;
    closer[depth] = bracket == '{' ? '}' : ']';
  }
  depth++;
}

void jsonclose() {
  if (depth <= 0)
    return;
  depth--;
  putchar(depth < MAXJSONDEPTH ? closer[depth] : '}');
  if (depth == 0)
    putchar('\n');
}

static void writestring(const char *s) {
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

void jsonkey(const char *key) {
  startvalue();
  writestring(key);
  printf(": ");
  keyed = 1;
}

void jsonint(int v) {
  startvalue();
  printf("%d", v);
}

void jsonfloat(float v) {
  startvalue();
  if (isfinite(v))
    printf("%.9g", (double)v);
  else
    printf("null");
}

void jsonbool(int v) {
  startvalue();
  printf(v ? "true" : "false");
}

void jsonnull() {
  startvalue();
  printf("null");
}

void jsonstring(const char *s) {
  startvalue();
  writestring(s);
}

void jsonintornull(int v, int known) {
  if (known)
    jsonint(v);
  else
    jsonnull();
}
