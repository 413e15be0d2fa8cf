#include "tests/e2e/driver.h"

#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::array<const char*, 7> kSoundFiles = {
    "opening.wav", "bane.wav", "raser.wav", "rock.wav", "glass.wav", "gun.wav", "punch.wav"};

// The file time that marks "read long ago": 1 January 2000.
constexpr uint64_t kAgedFileTime = 125911584000000000ULL;

GUITHREADINFO GuiThreadInfo(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        info = GUITHREADINFO{};
    return info;
}

std::string ClassOf(HWND window)
{
    char cls[256] = {};
    GetClassNameA(window, cls, sizeof cls);
    return cls;
}

HWND FocusOf(HWND window) { return GuiThreadInfo(window).hwndFocus; }

// Collects the windows EnumWindows or EnumChildWindows hands it.
BOOL CALLBACK Collect(HWND window, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool IsIcon(HWND control) { return (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON; }

std::string TextOf(HWND control)  // asked with a timeout, unlike GetWindowText
{
    char text[1024] = {};
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs)
{
    const uint64_t end = GetTickCount64() + static_cast<uint64_t>(timeoutMs);
    while (!condition()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(static_cast<DWORD>(pollMs));
    }
    return true;
}

std::string WindowsPath(std::string_view path)
{
    std::string windowsPath = path.starts_with('/') ? "Z:" : "";
    for (char c : path)
        windowsPath += c == '/' ? '\\' : c;
    return windowsPath;
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    return out.write(reinterpret_cast<const char*>(bytes.data()),
                     static_cast<std::streamsize>(bytes.size())) &&
           out.flush();
}

std::vector<std::string> GameFiles(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && lstrcmpiA(name.c_str(), "Rank.dat") != 0 &&
            lstrcmpiA(name.c_str(), "Best.dat") != 0)
            files.push_back(entry.path().string());
    }
    if (error)
        ReportFailure("no game folder at " + folder + ": " + error.message());
    return files;
}

// ---------------------------------------------------------------- GameFolder

namespace {

std::vector<std::string> BuiltGameFiles()
{
    std::vector<std::string> files = {WindowsPath(KEYHAVEN_EXE)};
    for (const char* sound : kSoundFiles)
        files.push_back(WindowsPath(KEYHAVEN_SOUNDS_DIR) + "\\" + sound);
    return files;
}

}  // namespace

GameFolder::GameFolder() : GameFolder(BuiltGameFiles()) {}

GameFolder::GameFolder(const std::vector<std::string>& files)
{
    namespace fs = std::filesystem;
    static std::atomic<int> serial{0};
    const std::string name =
        "keyhaven-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    path_ = (fs::temp_directory_path() / name).string();
    std::error_code error;
    fs::create_directory(path_, error);
    try {
        for (const std::string& file : files) {
            fs::copy_file(file, PathOf(fs::path(file).filename().string()), error);
            if (error)
                ReportFailure("cannot copy " + file + ": " + error.message());
        }
    } catch (...) {  // a failure that ends the run leaves no folder behind
        fs::remove_all(path_, error);
        throw;
    }
}

GameFolder::~GameFolder()
{
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

Bytes GameFolder::Read(std::string_view file) const
{
    std::ifstream in(PathOf(file), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void GameFolder::Write(std::string_view file, const Bytes& bytes) const
{
    if (!WriteWholeFile(PathOf(file), bytes))
        ReportFailure("cannot write " + PathOf(file));
}

void GameFolder::AgeAccessTime(std::string_view file) const
{
    HANDLE handle = CreateFileA(PathOf(file).c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    FILETIME aged{static_cast<DWORD>(kAgedFileTime), static_cast<DWORD>(kAgedFileTime >> 32)};
    if (handle == INVALID_HANDLE_VALUE || !SetFileTime(handle, nullptr, &aged, nullptr))
        ReportFailure("cannot set the access time of " + PathOf(file));
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}

bool GameFolder::ReadSinceAged(std::string_view file) const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(PathOf(file).c_str(), GetFileExInfoStandard, &data))
        return false;
    const FILETIME& time = data.ftLastAccessTime;
    const uint64_t accessed = (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    return accessed > kAgedFileTime + 864000000000ULL;  // a day later
}

// ---------------------------------------------------------------- GameProcess

bool GameProcess::Start(const GameFolder& folder, const std::string& exe)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const std::string path = folder.PathOf(exe);
    std::string commandLine = exe;
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.Path().c_str(), &startup, &info)) {
        ReportFailure("cannot start " + path + " (error " + std::to_string(GetLastError()) + ")");
        return false;
    }
    process_ = info.hProcess;
    thread_ = info.hThread;
    id_ = info.dwProcessId;
    return true;
}

GameProcess::~GameProcess()
{
    if (process_ == nullptr)
        return;
    if (Running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(thread_);
    CloseHandle(process_);
}

std::vector<HWND> GameProcess::Windows(bool visibleOnly) const
{
    std::vector<HWND> all, found;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == id_ && (!visibleOnly || IsWindowVisible(window)))
            found.push_back(window);
    }
    return found;
}

HWND GameProcess::TopWindow(const char* cls, const char* title, bool visibleOnly) const
{
    for (HWND window : Windows(visibleOnly))
        if (ClassOf(window) == cls && (title == nullptr || WindowText(window) == title))
            return window;
    return nullptr;
}

HWND GameProcess::TopWindowWhere(const char* cls, const std::function<bool(HWND)>& passes) const
{
    for (HWND window : Windows(false))
        if (ClassOf(window) == cls && passes(window))
            return window;
    return nullptr;
}

HWND GameProcess::WaitForWindow(const char* cls, const char* title, int timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = TopWindow(cls, title)) != nullptr; }, timeoutMs);
    return found;
}

bool GameProcess::WaitForExit(DWORD& exitCode, int timeoutMs) const
{
    return WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process_, &exitCode) != 0;
}

void GameProcess::PostInOneBurst(HWND main, std::string_view keys) const
{
    SuspendThread(thread_);
    CONTEXT context{};  // SuspendThread only asks; the thread stops once its context is read
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread_, &context);
    PostText(main, keys);
    ResumeThread(thread_);
}

GameProcess::Counters GameProcess::ReadCounters() const
{
    Counters counters;
    std::vector<unsigned char> buffer(1 << 20);
    ULONG size = 0;
    if (NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                 static_cast<ULONG>(buffer.size()), &size) != 0) {
        ReportFailure("cannot read the process list");
        return counters;
    }
    for (std::size_t at = 0;;) {
        auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
        if (reinterpret_cast<uintptr_t>(entry->UniqueProcessId) == id_) {
            counters.handles = entry->HandleCount;
            counters.threads = entry->NumberOfThreads;
            counters.privateBytes = entry->VirtualMemoryCounters.PagefileUsage;
            counters.cpuSeconds =
                static_cast<double>(entry->UserTime.QuadPart + entry->KernelTime.QuadPart) / 1e7;
            return counters;
        }
        if (entry->NextEntryOffset == 0)
            break;
        at += entry->NextEntryOffset;
    }
    ReportFailure("the game is not in the process list");
    return counters;
}

// ---------------------------------------------------------------- the opening

HWND EnterGame(const GameProcess& game, const char* name)
{
    HWND main = nullptr;
    const char* missing = "the opening dialog";
    if (HWND opening = game.WaitForWindow(kDialogClass, kOpeningTitle); opening != nullptr) {
        SendMessageTimeoutA(GetDlgItem(opening, IDC_OPENING_NAME), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(name), SMTO_ABORTIFHUNG, 5000, nullptr);
        Click(opening, IDC_OPENING_START);
        missing = "the start message after the name";
        if (HWND start = game.WaitForWindow(kDialogClass, kStartCaption); start != nullptr) {
            Click(start, IDOK);
            missing = "the main window after the start message";
            main = game.WaitForWindow(kMainClass, nullptr);
        }
    }
    if (main == nullptr)
        ReportFailure(std::string(missing) + " did not appear");
    else
        BringToFront(main);
    return main;
}

// ---------------------------------------------------------------- texts and windows

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    return control == nullptr ? "<no control " + std::to_string(id) + ">" : TextOf(control);
}

std::string MessageBoxText(HWND box)
{
    for (HWND child : Children(box))
        if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 && !IsIcon(child) &&
            !TextOf(child).empty())
            return TextOf(child);
    return "";
}

std::string DescribeWindows(const GameProcess& game)
{
    auto describe = [](HWND window) {
        return window == nullptr ? std::string("none")
                                 : ClassOf(window) + " \"" + WindowText(window) + "\"";
    };
    std::string text = "foreground: " + describe(GetForegroundWindow());
    for (HWND window : game.Windows())
        text += "; shown: " + describe(window) + " (focus: " + describe(FocusOf(window)) + ")";
    return text;
}

bool ShowsIcon(HWND box)
{
    const std::vector<HWND> children = Children(box);
    return std::any_of(children.begin(), children.end(), [](HWND child) {
        return IsIcon(child) && IsWindowVisible(child) &&
               SendMessageA(child, STM_GETICON, 0, 0) != 0;
    });
}

bool IsCentred(HWND window)
{
    RECT desktop{}, frame{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &frame);
    return frame.left == (desktop.right - (frame.right - frame.left)) / 2 &&
           frame.top == (desktop.bottom - (frame.bottom - frame.top)) / 2;
}

// ---------------------------------------------------------------- input

void PostText(HWND window, std::string_view text)
{
    for (char c : text)
        PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PressKey(WORD virtualKey, bool alt)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD key, DWORD flags) {
        inputs.push_back(INPUT{INPUT_KEYBOARD, {}});
        inputs.back().ki.wVk = key;
        inputs.back().ki.dwFlags = flags;
    };
    if (alt)
        add(VK_MENU, 0);
    add(virtualKey, 0);
    add(virtualKey, KEYEVENTF_KEYUP);
    if (alt)
        add(VK_MENU, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool BringToFront(HWND window)
{
    if (GetForegroundWindow() == window)
        return true;
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

bool Dismiss(HWND dialog, int buttonId)
{
    Click(dialog, buttonId);
    return WaitUntil([&] { return !IsWindow(dialog); });
}

bool IgnoresEscAndCloseBox(const GameProcess& game, HWND dialog)
{
    PressKey(VK_ESCAPE);
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    // Alt+Space opens the system menu only once both are handled; Esc closes
    // the menu's popup, and the menu mode may need a second.
    auto inMenuMode = [&] { return (GuiThreadInfo(dialog).flags & GUI_INMENUMODE) != 0; };
    if (!BringToFront(dialog))
        return false;
    PressKey(VK_SPACE, true);
    if (!WaitUntil([&] { return game.TopWindow(kMenuClass, nullptr) != nullptr; }))
        return false;
    for (int attempt = 0; attempt < 3 && inMenuMode(); ++attempt) {
        PressKey(VK_ESCAPE);
        WaitUntil([&] { return !inMenuMode(); }, 1000);
    }
    return !inMenuMode() && game.TopWindow(kMenuClass, nullptr) == nullptr &&
           IsWindowVisible(dialog);
}

HWND OpenWithKey(const GameProcess& game, HWND main, WORD key, const char* title)
{
    if (!BringToFront(main))
        return nullptr;
    PressKey(key);
    return game.WaitForWindow(kDialogClass, title);
}

bool InfoDialogRoundTrip(const GameProcess& game, HWND main)
{
    HWND info = OpenWithKey(game, main, VK_F1, kInfoTitle);
    return info != nullptr && Dismiss(info, IDC_INFO_CLOSE) &&
           WaitUntil([&] { return GetForegroundWindow() == main; });
}

// ---------------------------------------------------------------- screenshots

namespace {

unsigned char Byte(uint64_t value) { return static_cast<unsigned char>(value); }

// A PNG of RGB rows, each led by its filter byte, in stored (uncompressed)
// deflate blocks: no library needed.
Bytes EncodePng(uint32_t width, uint32_t height, const Bytes& rows)
{
    auto be32 = [](uint64_t v) {
        return Bytes{Byte(v >> 24), Byte(v >> 16), Byte(v >> 8), Byte(v)};
    };
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char* type, const Bytes& data) {
        const Bytes typed = Concat({Bytes(type, type + 4), data});
        uint32_t crc = 0xFFFFFFFFu;
        for (unsigned char byte : typed) {
            crc ^= byte;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
        png = Concat({png, be32(data.size()), typed, be32(~crc)});
    };
    Bytes zlib = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (std::size_t at = 0; at < rows.size(); at += 65535) {
        const std::size_t size = std::min<std::size_t>(65535, rows.size() - at);
        zlib.insert(zlib.end(), {Byte(at + size == rows.size()), Byte(size), Byte(size >> 8),
                                 Byte(~size), Byte(~size >> 8)});
        zlib.insert(zlib.end(), rows.begin() + at, rows.begin() + at + size);
    }
    for (unsigned char byte : rows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    chunk("IHDR", Concat({be32(width), be32(height), {8, 2, 0, 0, 0}}));  // 8-bit RGB
    chunk("IDAT", Concat({zlib, be32((b << 16) | a)}));
    chunk("IEND", {});
    return png;
}

}  // namespace

std::vector<uint32_t> Capture(const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(first, first + width * height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

Bytes ScreenshotPng(HWND window)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect))
        return {};
    rect = {std::max(rect.left, 0L), std::max(rect.top, 0L),
            std::min<LONG>(rect.right, GetSystemMetrics(SM_CXSCREEN)),
            std::min<LONG>(rect.bottom, GetSystemMetrics(SM_CYSCREEN))};
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return {};

    // A window reaches the screen a little after it is shown or repainted:
    // take the picture once two looks 100 ms apart agree on something drawn.
    std::vector<uint32_t> pixels = Capture(rect);
    for (int look = 0; look < 30; ++look) {
        Sleep(100);
        std::vector<uint32_t> again = Capture(rect);
        const bool drawn = std::any_of(again.begin(), again.end(), [&](uint32_t pixel) {
            return ((pixel ^ again[0]) & 0xFFFFFF) != 0;  // the top byte is no colour
        });
        const bool settled = drawn && again == pixels;
        pixels = std::move(again);
        if (settled)
            break;
    }
    const auto width = static_cast<std::size_t>(rect.right - rect.left);
    Bytes rows;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % width == 0)
            rows.push_back(0);
        rows.insert(rows.end(), {Byte(pixels[i] >> 16), Byte(pixels[i] >> 8), Byte(pixels[i])});
    }
    return EncodePng(width, pixels.size() / width, rows);
}

// ---------------------------------------------------------------- record files

Bytes Int32Le(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
            static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
}

int32_t ReadInt32Le(const Bytes& bytes, std::size_t at)
{
    if (at + 4 > bytes.size())
        return INT32_MIN;
    return static_cast<int32_t>(uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 |
                                uint32_t{bytes[at + 2]} << 16 | uint32_t{bytes[at + 3]} << 24);
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes FixedText(std::string_view text, std::size_t size)
{
    Bytes bytes(text.begin(), text.end());
    bytes.resize(size, 0);
    return bytes;
}

Bytes BestFile(const std::vector<std::pair<std::string, int32_t>>& entries)
{
    Bytes bytes = Int32Le(static_cast<int32_t>(entries.size()));
    for (const auto& [name, points] : entries)
        bytes = Concat({bytes, FixedText(name, 50), Int32Le(points)});
    return bytes;
}

Bytes RankFile(const std::vector<std::string>& texts)
{
    Bytes bytes = Concat({Int32Le(static_cast<int32_t>(texts.size())), FixedText("", 80)});
    for (const std::string& text : texts)
        bytes = Concat({bytes, FixedText(text, 80)});
    return bytes;
}

std::string RecordAt(const Bytes& file, std::size_t at, std::size_t size)
{
    if (at + size > file.size())
        return "<past the end of the file>";
    const auto begin = file.begin() + static_cast<std::ptrdiff_t>(at);
    const auto end = begin + static_cast<std::ptrdiff_t>(size);
    const auto terminator = std::find(begin, end, 0);
    return terminator == end ? "<no terminator>" : std::string(begin, terminator);
}

// ---------------------------------------------------------------- goal figures

std::string GoalFigures::HistoryText(std::string_view name) const
{
    return std::string(name) + "\n" + keys + "\n" + hits + "\n" + accuracy + "\n" + seconds +
           "\n" + perChar + "\n";
}

GoalFigures ExpectedFigures(int keys, int hits, uint32_t elapsedMs)
{
    // Computed at run time, as the game does: 0/0 is then the processor's NaN.
    volatile double keyCount = keys, hitCount = hits, elapsed = elapsedMs;
    const double accuracy = hitCount / keyCount * 100.0, perChar = elapsed * 0.001 / hitCount;
    auto format = [](const char* format, auto value) {
        char text[128];
        std::snprintf(text, sizeof text, format, value);
        return std::string(text);
    };
    auto truncate = [](double value) {
        return std::isfinite(value) ? static_cast<int32_t>(static_cast<int64_t>(value)) : 0;
    };
    const int seconds = static_cast<int>(elapsedMs / 1000);
    return {format("%d 文字", keys), format("%d 文字正解してるよぉ", hits),
            format("%3f%%", accuracy), format("%d 秒", seconds), format("%3f 秒", perChar),
            truncate(1000.0 - perChar * 100.0) + std::max(0, (10000 - seconds) / 100) +
                truncate(accuracy)};
}

// ---------------------------------------------------------------- playing

std::string Joined(const Stage& stage)
{
    std::string keys;
    for (const char* phrase : stage)
        keys += phrase;
    return keys;
}

bool TabMovesFocus(HWND goal)
{
    // Wait for the focus to settle on one of the dialog's buttons first: a
    // focus still coming back from a message box would pass for the Tab's
    // doing, and the Tab would then reach the main window as a character.
    HWND before = nullptr;
    auto settled = [&] {
        before = FocusOf(goal);
        return GetForegroundWindow() == goal && IsChild(goal, before);
    };
    if (!WaitUntil(settled, 3000))
        return false;
    PressKey(VK_TAB);
    return WaitUntil([&] { return FocusOf(goal) != before && IsChild(goal, FocusOf(goal)); }, 3000);
}

// The goal dialog, too, has no caption until it has set its title, but it has
// no OK button.
HWND NewRecordMessage(const GameProcess& game)
{
    for (HWND window : game.Windows())
        if (ClassOf(window) == kDialogClass && WindowText(window).empty() &&
            GetDlgItem(window, IDOK) != nullptr)
            return window;
    return nullptr;
}
