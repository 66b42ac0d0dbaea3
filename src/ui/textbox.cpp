#include "ui/textbox.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "render/text.h"
#include "shell/input.h"
#include "ui/menu.h"

textinputinfo textinput;

static int keycounts(int key, int repeat) {
  return keyboard[key] && (repeat || !prevkeyboard[key]);
}

static int inputlength() { return (int)strnlen(textinput.input, TEXTINPUTSIZE - 1); }

static void clampselection() {
  int length = inputlength();
  if (textinput.anchor < 0)
    textinput.anchor = 0;
  if (textinput.anchor > length)
    textinput.anchor = length;
  if (textinput.caret < 0)
    textinput.caret = 0;
  if (textinput.caret > length)
    textinput.caret = length;
}

// Later tests overwrite earlier ones, so of several keys counting in one
// frame the last in this order wins (a letter and Backspace give Backspace).
int getinputletter(int repeat, int classes) {
  int code = -1;
  int shift = keyboard[KEY_LSHIFT] != 0;

  if (classes & INPUTCLASS_LETTERS) {
    for (int k = 'a'; k <= 'z'; k++)
      if (keycounts(k, repeat))
        code = k;
    if (shift && code >= 'a' && code <= 'z')
      code = code - 'a' + 'A';
  }
  if ((classes & INPUTCLASS_SPACE) && keycounts(KEY_SPACE, repeat))
    code = ' ';
  if (!shift) {
    if (classes & INPUTCLASS_DIGITS)
      for (int k = '0'; k <= '9'; k++)
        if (keycounts(k, repeat))
          code = k;
    if ((classes & INPUTCLASS_PERIOD) && keycounts('.', repeat))
      code = '.';
    if ((classes & INPUTCLASS_MINUS) && keycounts('-', repeat))
      code = '-';
    if (classes & INPUTCLASS_SYMBOLS) {
      static const char plain[] = "/;-=,\\'";
      for (const char *p = plain; *p; p++)
        if (keycounts((unsigned char)*p, repeat))
          code = (unsigned char)*p;
    }
  } else if (classes & INPUTCLASS_SYMBOLS) {
    static const char keys[] = "0123456789/;-=.,\\'";
    static const char shifted[] = ")!@#$%^&*(?:_+><|\"";
    for (int i = 0; keys[i]; i++)
      if (keycounts((unsigned char)keys[i], repeat))
        code = (unsigned char)shifted[i];
  }
  if (keycounts(KEY_KP_PERIOD, repeat) || keycounts(KEY_DELETE, repeat))
    code = INPUTCODE_DELETE;
  if (keycounts(KEY_BACKSPACE, repeat))
    code = INPUTCODE_BACKSPACE;
  if (keywentdown(KEY_RETURN) || keywentdown(KEY_ESCAPE))
    code = INPUTCODE_ENTER;
  if (keywentdown(KEY_TAB))
    code = shift ? INPUTCODE_BACKTAB : INPUTCODE_TAB;

  int length = inputlength();
  if (keycounts(KEY_INSERT, repeat))
    textinput.overwrite = 1 - textinput.overwrite;
  if (keycounts(KEY_HOME, repeat)) {
    textinput.caret = 0;
    if (!shift)
      textinput.anchor = textinput.caret;
  }
  if (keycounts(KEY_END, repeat)) {
    textinput.caret = length;
    if (!shift)
      textinput.anchor = textinput.caret;
  }
  if (keycounts(KEY_LEFT, repeat)) {
    if (textinput.caret > 0)
      textinput.caret--;
    if (!shift)
      textinput.anchor = textinput.caret;
  }
  if (keycounts(KEY_RIGHT, repeat)) {
    if (textinput.caret < length)
      textinput.caret++;
    if (!shift)
      textinput.anchor = textinput.caret;
  }
  clampselection();
  return code;
}

void addmenuinputchar(int ch) {
  int caret = textinput.caret;
  if (caret < 0 || caret >= TEXTINPUTLIMIT)
    return;
  char *input = textinput.input;
  if (!textinput.overwrite) {
    memmove(input + caret + 1, input + caret, (size_t)(TEXTINPUTLIMIT - caret));
  } else if (input[caret] == 0) {
    // Overwriting past the end extends the text; whatever lay beyond the
    // terminator must not join it.
    input[caret + 1] = 0;
  }
  input[caret] = (char)ch;
  textinput.caret = caret + 1;
  textinput.anchor = textinput.caret;
}

int deleteselectedtext() {
  clampselection();
  int start = textinput.anchor < textinput.caret ? textinput.anchor : textinput.caret;
  int end = textinput.anchor < textinput.caret ? textinput.caret : textinput.anchor;
  if (start == end)
    return 0;
  int n = 0;
  for (int i = 0; i < TEXTINPUTLIMIT; i++)
    if (i < start || i >= end)
      textinput.display[n++] = textinput.input[i];
  textinput.display[n] = 0;
  memcpy(textinput.input, textinput.display, (size_t)n + 1);
  textinput.caret = start;
  textinput.anchor = start;
  clampselection();
  return 1;
}

int gettextinputposition(int offset, int size) {
  const menuiteminfo &item = menuitem[currentmenuitem];
  const float *advance = font[fontnum].glyphwidth;
  int width = 0;
  int i = 0;
  while (i < TEXTINPUTSIZE - 1 && textinput.input[i] != 0 && i < item.textlength) {
    width = (int)((float)width + advance[(unsigned char)textinput.input[i]] * (float)size);
    if (offset < width)
      return i;
    i++;
  }
  return i;
}

// Bound strings may be longer than any edit can reach; only the editable
// part is taken in, so the text always ends inside the buffer.
static void copybound(char *out, const menuiteminfo &item) {
  memset(out, 0, TEXTINPUTSIZE);
  switch (item.inputtype) {
  case INPUT_INT:
    snprintf(out, TEXTINPUTSIZE, "%d", *(const int *)item.value);
    break;
  case INPUT_UNSIGNED:
    snprintf(out, TEXTINPUTSIZE, "%u", *(const unsigned *)item.value);
    break;
  case INPUT_FLOAT:
    snprintf(out, TEXTINPUTSIZE, "%g", (double)*(const float *)item.value);
    break;
  default:
    strncpy(out, (const char *)item.value, TEXTINPUTLIMIT);
    break;
  }
}

void formatmenuvalue(int item, char *out) {
  if (item < 0 || item >= MAXMENUITEMS || !menuitem[item].value) {
    out[0] = 0;
    return;
  }
  copybound(out, menuitem[item]);
  if (menuitem[item].masked)
    for (char *p = out; *p; p++)
      *p = '*';
}

// A number that does not parse leaves the bound variable as it was; so does
// one out of range, rather than storing a wrapped value.
static void writeback(const menuiteminfo &item) {
  const char *input = textinput.input;
  char *end = nullptr;
  errno = 0;
  switch (item.inputtype) {
  case INPUT_INT: {
    long v = strtol(input, &end, 10);
    if (end != input && errno == 0 && v >= -2147483647L - 1 && v <= 2147483647L)
      *(int *)item.value = (int)v;
    break;
  }
  case INPUT_UNSIGNED: {
    unsigned long v = strtoul(input, &end, 10);
    if (end != input && errno == 0 && v <= 4294967295UL)
      *(unsigned *)item.value = (unsigned)v;
    break;
  }
  case INPUT_FLOAT: {
    float v = strtof(input, &end);
    if (end != input && errno == 0)
      *(float *)item.value = v;
    break;
  }
  default:
    memcpy(item.value, input, strlen(input) + 1);
    break;
  }
}

// Moves editing to the next (or, with Shift, previous) text box, wrapping
// around the declared items; the only box of a screen keeps editing.
static void tabtonextbox(int from, int step) {
  int count = numofmenuitems < MAXMENUITEMS ? numofmenuitems : MAXMENUITEMS;
  if (count <= 1)
    return;
  for (int j = (from + step + count) % count; j != from; j = (j + step + count) % count) {
    if (menuitem[j].type == MENU_TEXTBOX) {
      menuitem[from].active = 0;
      menuitem[j].active = 1;
      return;
    }
  }
}

void menutextbox() {
  menuiteminfo &item = menuitem[currentmenuitem];
  if (!item.value) {
    item.active = 0;
    return;
  }
  int press = mouse.left == 1 && prevmouse.left == 0;
  int code = -1;
  if (!item.wasactive) {
    copybound(textinput.input, item);
    if (press) {
      textinput.caret = gettextinputposition(mouse.x - item.boxx, item.size);
      textinput.anchor = textinput.caret;
    } else {
      textinput.anchor = 0;
      textinput.caret = inputlength();
    }
  } else {
    if (mouse.left) {
      int position = gettextinputposition(mouse.x - item.boxx, item.size);
      if (press)
        textinput.anchor = position;
      textinput.caret = position;
    }
    code = getinputletter(0, 255);
  }
  clampselection();

  if (code > 31) {
    // Typing over a selection replaces just the selection, in overwrite
    // mode too: overwriting the character after it would eat one that the
    // player never selected.
    int replaced = deleteselectedtext();
    int overwrite = textinput.overwrite;
    if (replaced)
      textinput.overwrite = 0;
    if (inputlength() < item.textlength)
      addmenuinputchar(code);
    textinput.overwrite = overwrite;
  } else if (code == INPUTCODE_DELETE) {
    if (!deleteselectedtext()) {
      int caret = textinput.caret;
      int length = inputlength();
      if (caret < length)
        memmove(textinput.input + caret, textinput.input + caret + 1, (size_t)(length - caret));
    }
  } else if (code == INPUTCODE_BACKSPACE) {
    if (!deleteselectedtext() && textinput.caret > 0) {
      int caret = textinput.caret;
      int length = inputlength();
      memmove(textinput.input + caret - 1, textinput.input + caret, (size_t)(length - caret + 1));
      textinput.caret = caret - 1;
      textinput.anchor = textinput.caret;
    }
  } else if (code == INPUTCODE_TAB) {
    tabtonextbox(currentmenuitem, 1);
  } else if (code == INPUTCODE_BACKTAB) {
    tabtonextbox(currentmenuitem, -1);
  }
  if (code != -1 && (keywentdown(KEY_RETURN) || keywentdown(KEY_ESCAPE)))
    item.active = 0;

  writeback(item);
  if (!item.active)
    memset(textinput.input, 0, sizeof textinput.input);
}
