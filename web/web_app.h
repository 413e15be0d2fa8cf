// The browser front end: the page's entry points (web_main.cpp), the calls into
// the page (page.h) and the browser's side of base/platform.h (web_platform.cpp).
#pragma once

// Works out the stage's result and shows it in the goal dialog; the player's
// choice comes back later, through the dialog's buttons.
void OpenGoalDialog();

// Asks whether to quit; the game ends when the player says はい.
void AskToClose();
