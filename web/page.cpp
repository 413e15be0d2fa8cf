// The calls into the page. Module.page is the page's object (web/site/page.js,
// or a test's stand-in); Module.cp932Text and Module.cp932Bytes (web/module.js)
// decode and encode the game's texts.
#include "web/page.h"

#include <emscripten.h>

#include <cstdlib>
#include <map>
#include <utility>

namespace {

EM_JS(void, JsSetTitle, (const char* text, int length), {
    Module.page.setTitle(Module.cp932Text(text, length));
});
EM_JS(void, JsStartTimer, (), { Module.page.startTimer(); });
EM_JS(void, JsStopTimer, (), { Module.page.stopTimer(); });
EM_JS(double, JsNow, (), { return Module.page.now(); });
EM_JS(void, JsRequestPaint, (), { Module.page.requestPaint(); });
EM_JS(void, JsDrawText, (int x, int y, int height, int weight, int colour, const char* text, int length), {
    Module.page.drawText(x, y, height, weight, colour >>> 0, Module.cp932Text(text, length));
});
EM_JS(void, JsShowMainWindow, (), { Module.page.showMainWindow(); });
EM_JS(void, JsShowEnd, (), { Module.page.showEnd(); });
EM_JS(void, JsOpenDialog, (const char* name), { Module.page.openDialog(UTF8ToString(name)); });
EM_JS(void, JsCloseDialog, (const char* name), { Module.page.closeDialog(UTF8ToString(name)); });
EM_JS(void, JsSetDialogTitle, (const char* name, const char* text, int length), {
    Module.page.setDialogTitle(UTF8ToString(name), Module.cp932Text(text, length));
});
EM_JS(void, JsSetItemText, (const char* name, int control, const char* text, int length), {
    Module.page.setItemText(UTF8ToString(name), control, Module.cp932Text(text, length));
});
// The text comes back in memory of the module's own, for the caller to free.
EM_JS(char*, JsItemText, (const char* name, int control, int* length), {
    const bytes = Module.cp932Bytes(Module.page.itemText(UTF8ToString(name), control));
    const text = _malloc(bytes.length + 1);
    HEAPU8.set(bytes, text);
    HEAP32[length >> 2] = bytes.length;
    return text;
});
EM_JS(void, JsAddText, (const char* name, int control, int x, int y, int width, int height, int fontHeight,
                        const char* text, int length), {
    Module.page.addText(UTF8ToString(name), control, x, y, width, height, fontHeight,
                        Module.cp932Text(text, length));
});
EM_JS(void, JsCheckItem, (const char* name, int control), { Module.page.checkItem(UTF8ToString(name), control); });
EM_JS(void, JsSetScrollRange, (const char* name, int first, int last), {
    Module.page.setScrollRange(UTF8ToString(name), first, last);
});
EM_JS(void, JsSetScrollPos, (const char* name, int pos), { Module.page.setScrollPos(UTF8ToString(name), pos); });
EM_JS(void, JsLoadSound, (const char* file, int length), { Module.page.loadSound(Module.cp932Text(file, length)); });
EM_JS(void, JsPlaySound, (const char* file, int length), { Module.page.playSound(Module.cp932Text(file, length)); });
EM_JS(void, JsOpenLink, (const char* link, int length), { Module.page.openLink(Module.cp932Text(link, length)); });
EM_JS(void, JsDownload, (const char* file, int fileLength, const unsigned char* bytes, int length), {
    Module.page.download(Module.cp932Text(file, fileLength), HEAPU8.slice(bytes, bytes + length));
});
EM_JS(void, JsMessageBox, (int box, const char* text, int textLength, const char* caption, int captionLength,
                           int style), {
    Module.page.messageBox(box, Module.cp932Text(text, textLength), Module.cp932Text(caption, captionLength),
                           ["ok", "yesno", "warning"][style]);
});

int Length(std::string_view text) { return static_cast<int>(text.size()); }

// The message boxes still waiting for an answer, by number.
std::map<int, std::function<void(bool)>> waitingBoxes;

}  // namespace

void PageSetTitle(std::string_view text) { JsSetTitle(text.data(), Length(text)); }
void PageStartTimer() { JsStartTimer(); }
void PageStopTimer() { JsStopTimer(); }
double PageNow() { return JsNow(); }
void PageRequestPaint() { JsRequestPaint(); }

void PageDrawText(const PictureLayer& layer, const PictureText& text)
{
    std::string_view line = text.text;
    JsDrawText(text.x, text.y, layer.fontHeight, layer.fontWeight, static_cast<int>(layer.colour), line.data(),
               Length(line));
}

void PageShowMainWindow() { JsShowMainWindow(); }
void PageShowEnd() { JsShowEnd(); }
void PageOpenDialog(const char* name) { JsOpenDialog(name); }
void PageCloseDialog(const char* name) { JsCloseDialog(name); }

void PageSetDialogTitle(const char* name, std::string_view text)
{
    JsSetDialogTitle(name, text.data(), Length(text));
}

void PageSetItemText(const char* name, int control, std::string_view text)
{
    JsSetItemText(name, control, text.data(), Length(text));
}

std::string PageItemText(const char* name, int control)
{
    int length = 0;
    char* text = JsItemText(name, control, &length);
    std::string copy(text, static_cast<std::size_t>(length));
    std::free(text);
    return copy;
}

void PageAddText(const char* name, int control, int x, int y, int width, int height, int fontHeight,
                 std::string_view text)
{
    JsAddText(name, control, x, y, width, height, fontHeight, text.data(), Length(text));
}

void PageCheckItem(const char* name, int control) { JsCheckItem(name, control); }
void PageSetScrollRange(const char* name, int first, int last) { JsSetScrollRange(name, first, last); }
void PageSetScrollPos(const char* name, int pos) { JsSetScrollPos(name, pos); }
void PageLoadSound(std::string_view file) { JsLoadSound(file.data(), Length(file)); }
void PagePlaySound(std::string_view file) { JsPlaySound(file.data(), Length(file)); }
void PageOpenLink(std::string_view link) { JsOpenLink(link.data(), Length(link)); }

void PageDownload(std::string_view file, const std::vector<unsigned char>& bytes)
{
    JsDownload(file.data(), Length(file), bytes.data(), static_cast<int>(bytes.size()));
}

void PageMessageBox(std::string_view text, std::string_view caption, BoxStyle style,
                    std::function<void(bool)> answered)
{
    static int lastBox = 0;
    const int box = ++lastBox;
    waitingBoxes[box] = std::move(answered);
    JsMessageBox(box, text.data(), Length(text), caption.data(), Length(caption), static_cast<int>(style));
}

// The page's answer to a message box: 1 for OK and はい, 0 for いいえ.
extern "C" EMSCRIPTEN_KEEPALIVE void KeyhavenMessageBoxAnswer(int box, int yes)
{
    auto waiting = waitingBoxes.find(box);
    if (waiting == waitingBoxes.end())
        return;
    std::function<void(bool)> answered = std::move(waiting->second);
    waitingBoxes.erase(waiting);
    if (answered)
        answered(yes != 0);
}
