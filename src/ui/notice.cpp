#include "ui/notice.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

noticeinfo notice;

static void setnoticetext(int kind, const char *text) {
  if (kind == NOTICE_INFO && notice.kind == NOTICE_ERROR && notice.text[0] && !notice.shown)
    return;
  snprintf(notice.text, sizeof notice.text, "%s", text);
  notice.kind = kind;
  notice.shown = 0;
  notice.failures = 0;
}

void setnotice(int kind, const char *format, ...) {
  char text[NOTICELENGTH];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  setnoticetext(kind, text);
}

static int noticelive() {
  return notice.text[0] != 0;
}

void notesavefailure(const char *name) {
  if (!noticelive() || notice.kind != NOTICE_ERROR || notice.failures == 0) {
    setnotice(NOTICE_ERROR, "Could not save %s", name);
    snprintf(notice.firstfailure, sizeof notice.firstfailure, "%s", name);
    notice.failures = 1;
    return;
  }
  int failures = notice.failures + 1;
  setnotice(NOTICE_ERROR, "Could not save %s and %d more", notice.firstfailure, failures - 1);
  notice.failures = failures;
}

const char *getnotice(unsigned int now) {
  if (!noticelive())
    return NULL;
  if (!notice.shown) {
    notice.shown = 1;
    notice.start = now;
  }
  unsigned int lifetime = notice.kind == NOTICE_ERROR ? NOTICEERRORTIME : NOTICEINFOTIME;
  if (now - notice.start >= lifetime) {
    clearnotice();
    return NULL;
  }
  return notice.text;
}

void clearnotice() {
  memset(&notice, 0, sizeof notice);
}
