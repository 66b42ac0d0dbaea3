#include "shell/config.h"

configinfo config;
windowstate windowinfo;
parserinfo parser;
