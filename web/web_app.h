// The browser front end: the page's start (web_main.cpp), its main window
// (main_window.cpp), the five dialogs (dialogs.cpp), the browser's side of
// base/platform.h (web_platform.cpp) and of records/record_store.h
// (record_store_web.cpp), the record files saved and loaded
// (record_transfer.cpp) and the calls into the page (page.h). What those
// files share is here; only they include it.
#pragma once

// Main window (main_window.cpp): asks whether to quit; the game ends when the
// player says はい.
void AskToClose();

// Dialogs (dialogs.cpp). Each opens and returns at once: a page cannot wait,
// so the player's clicks come back later through KeyhavenDialogCommand.
void OpenOpeningDialog();
void OpenInfoDialog();
void OpenSoundDialog();
void OpenRankingDialog();
// Works out the stage's result and shows it.
void OpenGoalDialog();

// Hands the maker's mail link to the browser.
void OpenMailLink();
