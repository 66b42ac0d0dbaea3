#include "shell/system.h"

void addwheelnotch(int *counter) {
  if (*counter <= 7)
    *counter += 1;
}
