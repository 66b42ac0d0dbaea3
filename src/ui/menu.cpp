#include "ui/menu.h"

#include <cctype>
#include <cstdarg>
#include <cstring>

#include "render/text.h"
#include "shell/input.h"
#include "ui/textbox.h"

menuiteminfo menuitem[MAXMENUITEMS];
int numofmenuitems;
int currentmenuitem;
char keyboardlabel[NUMKEYBOARDLABELS][16];

// Set when the frame's last createmenuitem found the table full, so that the
// setmenuitem calls meant for that item do not land on slot 255 instead.
static int lastitemrefused;

int getmenutextwidth(const char *text, int size, int count) {
  if (count > 63)
    count = 63;
  const float *advance = font[fontnum].glyphwidth;
  int width = 0;
  for (int i = 0; i < count && text[i] != 0; i++)
    width = (int)((float)width + advance[(unsigned char)text[i]] * (float)size);
  return width;
}

void createmenuitem(const char *text, int x, int y, int size, float red, float green,
                    float blue, float alpha) {
  (void)alpha; // labels are drawn opaque
  if (numofmenuitems < 0 || numofmenuitems >= MAXMENUITEMS) {
    lastitemrefused = 1;
    return;
  }
  lastitemrefused = 0;
  if (!text)
    text = "";
  int width = getmenutextwidth(text, size);
  if (x & ALIGN_CENTER)
    x -= width >> 1;
  if (x & ALIGN_END)
    x -= width;
  if (y & ALIGN_CENTER)
    y -= size / 2;
  if (y & ALIGN_END)
    y -= size;
  x &= 0xFFFF;
  y &= 0xFFFF;

  menuiteminfo &item = menuitem[numofmenuitems];
  strncpy(item.text, text, MENUTEXTLENGTH - 1);
  item.text[MENUTEXTLENGTH - 1] = 0;
  item.x = item.boxx = x;
  item.y = item.boxy = y;
  item.size = size;
  item.red = red;
  item.green = green;
  item.blue = blue;
  item.type = MENU_BUTTON;
  item.width = width;
  item.height = size;
  item.key = 0;
  item.repeat = 0;
  item.state = MENUSTATE_NORMAL;
  item.setvalue = 0;
  item.inputtype = INPUT_INT;
  item.textlength = (int)strlen(item.text);
  item.masked = 0;
  for (int s = 0; s < 4; s++)
    item.bitmap[s] = -1;
  static const float corners[8] = {0, 1, 1, 1, 1, 0, 0, 0};
  memcpy(item.texcoord, corners, sizeof corners);
  item.cursor = 0;
  item.value = nullptr;
  item.action = nullptr;
  numofmenuitems++;
}

static void settextbox(menuiteminfo &item, void *value, int inputtype) {
  item.type = MENU_TEXTBOX;
  item.inputtype = inputtype;
  item.value = value;
  item.action = menutextbox;
  item.width = item.textlength * item.size;
}

// Operation 12's alignment: the flags of a coordinate apply against the given
// extent; division truncates towards zero.
static int alignbox(int coordinate, int extent) {
  int position = coordinate & 0xFFFF;
  if (coordinate & ALIGN_CENTER)
    position -= extent / 2;
  if (coordinate & ALIGN_END)
    position -= extent;
  return position;
}

void setmenuitem(int operation, ...) {
  if (numofmenuitems <= 0 || numofmenuitems > MAXMENUITEMS || lastitemrefused)
    return;
  menuiteminfo &item = menuitem[numofmenuitems - 1];
  va_list args;
  va_start(args, operation);
  switch (operation) {
  case 1:
    item.key = va_arg(args, int);
    break;
  case 2:
    item.state = va_arg(args, int);
    break;
  case 3:
    settextbox(item, va_arg(args, int *), INPUT_INT);
    break;
  case 4:
    settextbox(item, va_arg(args, unsigned *), INPUT_UNSIGNED);
    break;
  case 5:
    settextbox(item, va_arg(args, float *), INPUT_FLOAT);
    break;
  case 6:
    settextbox(item, va_arg(args, char *), INPUT_STRING);
    break;
  case 7:
    item.action = va_arg(args, void (*)());
    break;
  case 8:
    item.type = MENU_TOGGLE;
    item.value = va_arg(args, int *);
    item.action = menutoggle;
    break;
  case 9:
    item.type = MENU_SET;
    item.value = va_arg(args, int *);
    item.setvalue = va_arg(args, int);
    item.action = menuset;
    break;
  case 10:
    item.repeat = 1;
    break;
  case 11: {
    int s = va_arg(args, int);
    int tex = va_arg(args, int);
    if (s == 0)
      for (int k = 0; k < 4; k++)
        item.bitmap[k] = tex;
    else if (s > 0 && s < 4)
      item.bitmap[s] = tex;
    break;
  }
  case 12: {
    int x = va_arg(args, int);
    int y = va_arg(args, int);
    int w = va_arg(args, int);
    int h = va_arg(args, int);
    item.width = w;
    item.height = h;
    item.size = 1;
    item.boxx = item.x = alignbox(x, w);
    item.boxy = item.y = alignbox(y, h);
    break;
  }
  case 13:
    item.cursor = va_arg(args, int);
    break;
  case 14:
    (void)va_arg(args, int);
    break;
  case 15:
    item.masked = 1;
    break;
  case 16: {
    const float *coords = va_arg(args, const float *);
    if (coords)
      memcpy(item.texcoord, coords, sizeof item.texcoord);
    break;
  }
  default:
    break;
  }
  va_end(args);
}

// With every latch down no text box is being edited, so the next screen's
// first frame must not find its hotkeys still switched off.
void resetmenuitems() {
  for (int i = 0; i < MAXMENUITEMS; i++) {
    menuitem[i].active = 0;
    menuitem[i].wasactive = 0;
  }
  textinput.editing = 0;
}

void setupmenuitems() {
  memset(keyboardlabel, 0, sizeof keyboardlabel);
  for (int c = 'a'; c <= 'z'; c++) {
    keyboardlabel[c][0] = (char)(c - 'a' + 'A');
    keyboardlabel[c][1] = 0;
  }
  for (int c = '0'; c <= '9'; c++) {
    keyboardlabel[c][0] = (char)c;
    keyboardlabel[c][1] = 0;
  }
  static const struct {
    int key;
    const char *label;
  } named[] = {
      {0, "None"},    {13, "Enter"},  {32, "Space"},  {44, "Comma"},  {46, "Period"},
      {256, "Ins"},   {257, "End"},   {259, "PgDn"},  {261, "Center"}, {263, "Home"},
      {265, "PgUp"},  {266, "Del"},   {269, "Minus"}, {270, "Plus"},  {273, "Up"},
      {274, "Down"},  {275, "Right"}, {276, "Left"},  {304, "Shift"}, {306, "Ctrl"},
      {308, "Alt"},
  };
  for (const auto &entry : named)
    strcpy(keyboardlabel[entry.key], entry.label);
}

void menutoggle() {
  int *value = (int *)menuitem[currentmenuitem].value;
  if (value)
    *value ^= 1;
}

void menuset() {
  int *value = (int *)menuitem[currentmenuitem].value;
  if (value)
    *value = menuitem[currentmenuitem].setvalue;
}

static bool insideitem(const menuiteminfo &item) {
  return mouse.x >= item.boxx && mouse.x < item.boxx + item.width && mouse.y >= item.boxy &&
         mouse.y < item.boxy + item.height;
}

static bool hotkeyfired(const menuiteminfo &item) {
  if (item.key <= 0 || item.key >= KEY_LAST)
    return false;
  return keyboard[item.key] && (!prevkeyboard[item.key] || item.repeat);
}

// One check, per item, in this order:
//   press anywhere or repeat item -> active = 0
//   enabled item under the mouse  -> hover; press -> active = 1
//   hotkey down (held if repeat)  -> active = 1, unless a text box is edited
//   toggle on / set matching / active -> state 3
//   active with an action         -> action runs; active = 0 (not text boxes)
// so a click lands on exactly one item and clears every other latch.
void (*menufiredhook)();

void checkmenuitems() {
  int count = numofmenuitems;
  if (count > MAXMENUITEMS)
    count = MAXMENUITEMS;
  int press = mouse.left == 1 && prevmouse.left == 0;
  int hotkeysoff = textinput.editing;

  for (int i = 0; i < count; i++)
    if (press || menuitem[i].repeat)
      menuitem[i].active = 0;

  font[fontnum].cursor = 0;

  int fired = 0;
  for (int i = 0; i < count; i++) {
    menuiteminfo &item = menuitem[i];
    if (item.state == MENUSTATE_DISABLED)
      continue;
    int was = item.active;
    item.state = MENUSTATE_NORMAL;
    if (insideitem(item)) {
      item.state = MENUSTATE_HOVER;
      if (press)
        item.active = 1;
      font[fontnum].cursor = item.cursor;
    }
    if (!hotkeysoff && hotkeyfired(item))
      item.active = 1;
    fired |= item.active && !was;
    int *bound = (int *)item.value;
    if ((item.type == MENU_TOGGLE && bound && *bound != 0) ||
        (item.type == MENU_SET && bound && *bound == item.setvalue) || item.active == 1)
      item.state = MENUSTATE_ACTIVE;
  }

  for (int i = 0; i < count; i++) {
    currentmenuitem = i;
    menuiteminfo &item = menuitem[i];
    if (item.active && item.action)
      item.action();
    if (item.type != MENU_TEXTBOX && item.action)
      item.active = 0;
    item.wasactive = item.active;
  }

  if (fired && menufiredhook)
    menufiredhook();

  textinput.editing = 0;
  for (int i = 0; i < count; i++)
    if (menuitem[i].type == MENU_TEXTBOX && menuitem[i].active == 1)
      textinput.editing = 1;
}

int findhotkeychar(int index) {
  if (index < 0 || index >= MAXMENUITEMS)
    return -1;
  const menuiteminfo &item = menuitem[index];
  if (item.state == MENUSTATE_DISABLED || item.key < 0 || item.key >= NUMKEYBOARDLABELS)
    return -1;
  const char *label = keyboardlabel[item.key];
  if (label[0] == 0 || label[1] != 0)
    return -1;
  for (int i = 0; i < MENUTEXTLENGTH && item.text[i]; i++)
    if (toupper((unsigned char)item.text[i]) == (unsigned char)label[0])
      return i;
  return -1;
}
