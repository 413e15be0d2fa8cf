// The page as the browser front end sees it: each function is one call into
// the page's script (web/site/page.js), which draws and asks and nothing more.
// Texts go over as code page 932 bytes, which the page decodes. Dialogs are
// named by their templates in the resource script, controls by their ids.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/main_picture.h"

void PageSetTitle(std::string_view text);

// While the timer runs, KeyhavenTick is called every 50 ms. Starting it
// again starts its period anew.
void PageStartTimer();
void PageStopTimer();

// Milliseconds since the page was opened.
double PageNow();

// The next animation frame calls KeyhavenPaint, once however often this was
// asked for; nothing is painted while the main window is hidden.
void PageRequestPaint();

// Draws a text of the main window's picture; called only inside KeyhavenPaint.
void PageDrawText(const PictureLayer& layer, const PictureText& text);

// The main window, hidden while the game starts, shows and takes the keys.
void PageShowMainWindow();

// The game has ended: the page says so and how to start again.
void PageShowEnd();

// A modal dialog made from its template; the clicks on its buttons come back
// through KeyhavenDialogCommand, and only CloseDialog closes it. A dialog
// closed while a message box opened after it is still up goes once that box
// is answered.
void PageOpenDialog(const char* name);
void PageCloseDialog(const char* name);
void PageSetDialogTitle(const char* name, std::string_view text);
void PageSetItemText(const char* name, int control, std::string_view text);
std::string PageItemText(const char* name, int control);

enum class BoxStyle { Ok, YesNo, OkWarning };

// A modal message box above everything else. `answered`, when given, runs
// once the player has answered, with true for OK and はい.
void PageMessageBox(std::string_view text, std::string_view caption, BoxStyle style,
                    std::function<void(bool)> answered = nullptr);
