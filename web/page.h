// The page as the browser front end sees it: each function is one call into
// the page's script (web/site/page.js), which draws and asks and nothing more.
// Texts go over as code page 932 bytes, which the page decodes. Dialogs are
// named by their templates in the resource script, controls by their ids.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// A text control that a dialog adds to its template, placed in pixels of its
// client area, in a font of the given cell height.
void PageAddText(const char* name, int control, int x, int y, int width, int height, int fontHeight,
                 std::string_view text);

// Checks a push-like radio button of a dialog and clears the others, as a
// click on one does by itself.
void PageCheckItem(const char* name, int control);

// The dialog's own horizontal scroll bar, shown when its range holds more
// than one position; the thumb starts at the range's first. Its actions come
// back through KeyhavenDialogScroll, as Windows' scroll codes (SB_LINELEFT to
// SB_ENDSCROLL) with the thumb's position; the thumb stays where
// PageSetScrollPos puts it, except while it is dragged.
void PageSetScrollRange(const char* name, int first, int last);
void PageSetScrollPos(const char* name, int pos);

// A sound file of the site: PageLoadSound fetches and decodes it once, ahead
// of its first use; PagePlaySound plays it from the start, cutting off the one
// still playing. Before the player's first click or key a page may not play
// sound: a sound asked for earlier starts then.
void PageLoadSound(std::string_view file);
void PagePlaySound(std::string_view file);

// Hands a link to the browser, as a click on it would, in a new tab.
void PageOpenLink(std::string_view link);

// Offers `bytes` to the player as a download named `file`.
void PageDownload(std::string_view file, const std::vector<unsigned char>& bytes);

enum class BoxStyle { Ok, YesNo, OkWarning };

// A modal message box above everything else. `answered`, when given, runs
// once the player has answered, with true for OK and はい.
void PageMessageBox(std::string_view text, std::string_view caption, BoxStyle style,
                    std::function<void(bool)> answered = nullptr);
