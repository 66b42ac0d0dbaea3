// The menu screens. Each is a loop that runs one frame per pass and returns
// when its item 0 ("Back" or "Exit", hotkey Escape) fires or the window's
// quit flag is set.
#pragma once

void mainmenu();
void optionsmenu();
void startmenu();
void loadlevelmenu();
void loadbridgemenu();

// There is no browser hand-off on this platform: it returns at once.
void launchwebpage(const char *address);
