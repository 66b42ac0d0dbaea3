#include "render/view.h"

viewinfo view;
