#include "testrun/game.h"

gameinfo game;
