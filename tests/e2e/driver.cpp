#include "tests/e2e/driver.h"

#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Without an X display Wine cannot show a single window; say so once and
// fail the whole run instead of letting every test time out.
class DisplayCheck : public testing::Environment {
public:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        ASSERT_TRUE(display != nullptr && *display != '\0')
            << "DISPLAY is not set: the end-to-end tests need an X server (run them under Xvfb)";
    }
};
testing::Environment* const displayCheck = testing::AddGlobalTestEnvironment(new DisplayCheck);

constexpr std::array<const char*, 7> kSoundFiles = {
    "opening.wav", "bane.wav", "raser.wav", "rock.wav", "glass.wav", "gun.wav", "punch.wav"};

std::string TestName()
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    if (info == nullptr)
        return "run";
    return std::string(info->test_suite_name()) + "." + info->name();
}

uint64_t Now() { return GetTickCount64(); }

// The file time that marks "read long ago": 1 January 2000.
constexpr uint64_t kAgedFileTime = 125911584000000000ULL;

uint64_t FromFileTime(const FILETIME& time)
{
    return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)  // key, released
{
    std::vector<INPUT> inputs;
    for (auto [key, up] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool InMenuMode(DWORD threadId)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) && (info.flags & GUI_INMENUMODE) != 0;
}

// PNG with stored (uncompressed) deflate blocks: no library needed.
uint32_t Crc32(const unsigned char* data, std::size_t size)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBe32(Bytes& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(Bytes& out, const char* type, const Bytes& data)
{
    PutBe32(out, static_cast<uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBe32(out, Crc32(typed.data(), typed.size()));
}

Bytes EncodePng(int width, int height, const Bytes& rgbRows)  // each row: filter byte + RGB
{
    Bytes header;
    PutBe32(header, static_cast<uint32_t>(width));
    PutBe32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB

    Bytes zlib = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (unsigned char byte : rgbRows) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < rgbRows.size();) {
        std::size_t size = std::min<std::size_t>(65535, rgbRows.size() - at);
        bool last = at + size == rgbRows.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(static_cast<unsigned char>(size));
        zlib.push_back(static_cast<unsigned char>(size >> 8));
        zlib.push_back(static_cast<unsigned char>(~size));
        zlib.push_back(static_cast<unsigned char>(~size >> 8));
        zlib.insert(zlib.end(), rgbRows.begin() + at, rgbRows.begin() + at + size);
        at += size;
    }
    PutBe32(zlib, (b << 16) | a);

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const uint64_t end = Now() + static_cast<uint64_t>(timeoutMs);
    for (;;) {
        if (condition())
            return true;
        if (Now() >= end)
            return false;
        Sleep(10);
    }
}

std::string WindowsPath(std::string_view unixPath)
{
    std::string path = "Z:";
    for (char c : unixPath)
        path += c == '/' ? '\\' : c;
    return path;
}

// ---------------------------------------------------------------- GameFolder

GameFolder::GameFolder()
{
    static std::atomic<int> serial{0};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "keyhaven-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    CreateDirectoryA(path_.c_str(), nullptr);

    const std::string exe = WindowsPath(KEYHAVEN_EXE);
    if (!CopyFileA(exe.c_str(), PathOf("Keyhaven.exe").c_str(), FALSE))
        ADD_FAILURE() << "cannot copy the game from " << exe;
    for (const char* sound : kSoundFiles) {
        const std::string from = WindowsPath(KEYHAVEN_SOUNDS_DIR) + "\\" + sound;
        if (!CopyFileA(from.c_str(), PathOf(sound).c_str(), FALSE))
            ADD_FAILURE() << "cannot copy the sound " << from;
    }
}

GameFolder::~GameFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(PathOf("*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA(PathOf(found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string GameFolder::PathOf(std::string_view file) const
{
    return path_ + "\\" + std::string(file);
}

Bytes GameFolder::Read(std::string_view file) const
{
    Bytes bytes;
    HANDLE handle = CreateFileA(PathOf(file).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size{};
    GetFileSizeEx(handle, &size);
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(handle);
    return bytes;
}

void GameFolder::Write(std::string_view file, const Bytes& bytes) const
{
    if (!WriteWholeFile(PathOf(file), bytes))
        ADD_FAILURE() << "cannot write " << PathOf(file);
}

DWORD GameFolder::Attributes(std::string_view file) const
{
    return GetFileAttributesA(PathOf(file).c_str());
}

void GameFolder::AgeAccessTime(std::string_view file) const
{
    HANDLE handle = CreateFileA(PathOf(file).c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    FILETIME aged{static_cast<DWORD>(kAgedFileTime), static_cast<DWORD>(kAgedFileTime >> 32)};
    if (handle == INVALID_HANDLE_VALUE || !SetFileTime(handle, nullptr, &aged, nullptr))
        ADD_FAILURE() << "cannot set the access time of " << PathOf(file);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}

bool GameFolder::ReadSinceAged(std::string_view file) const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(PathOf(file).c_str(), GetFileExInfoStandard, &data))
        return false;
    return FromFileTime(data.ftLastAccessTime) > kAgedFileTime + 864000000000ULL;  // + 1 day
}

// ---------------------------------------------------------------- GameProcess

GameProcess::GameProcess(const GameFolder& folder)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string exe = folder.PathOf("Keyhaven.exe");
    std::string commandLine = "Keyhaven.exe";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.Path().c_str(), &startup, &info)) {
        ADD_FAILURE() << "cannot start " << exe << " (error " << GetLastError() << ")";
        return;
    }
    process_ = info.hProcess;
    thread_ = info.hThread;
    id_ = info.dwProcessId;
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

bool GameProcess::Running() const
{
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND GameProcess::TopWindow(const char* cls, const char* title, bool visibleOnly) const
{
    struct Search {
        const GameProcess* game;
        const char* cls;
        const char* title;
        bool visibleOnly;
        HWND found;
    } search{this, cls, title, visibleOnly, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s.game->id_ || (s.visibleOnly && !IsWindowVisible(window)))
                return TRUE;
            char cls[256] = {};
            GetClassNameA(window, cls, sizeof cls);
            if (std::strcmp(cls, s.cls) != 0)
                return TRUE;
            if (s.title != nullptr && WindowText(window) != s.title)
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND GameProcess::WaitForWindow(const char* cls, const char* title, int timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = TopWindow(cls, title)) != nullptr; }, timeoutMs);
    return found;
}

std::vector<HWND> GameProcess::VisibleWindows() const
{
    struct Search {
        DWORD id;
        std::vector<HWND> found;
    } search{id_, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s.id && IsWindowVisible(window))
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool GameProcess::WaitForExit(DWORD& exitCode, int timeoutMs) const
{
    if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(process_, &exitCode) != 0;
}

void GameProcess::Freeze() const
{
    // SuspendThread only asks; the thread has stopped once its context can
    // be read.
    SuspendThread(thread_);
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    GetThreadContext(thread_, &context);
}

void GameProcess::Thaw() const
{
    ResumeThread(thread_);
}

GameProcess::Counters GameProcess::ReadCounters() const
{
    Counters counters;
    std::vector<unsigned char> buffer(1 << 20);
    ULONG size = 0;
    if (NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                 static_cast<ULONG>(buffer.size()), &size) != 0) {
        ADD_FAILURE() << "cannot read the process list";
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
    ADD_FAILURE() << "the game is not in the process list";
    return counters;
}

// ---------------------------------------------------------------- the opening

HWND EnterGame(const GameProcess& game, const char* name)
{
    if (!game.Started())
        return nullptr;
    HWND opening = game.WaitForWindow(kDialogClass, kOpeningTitle);
    if (opening == nullptr) {
        ADD_FAILURE() << "the opening dialog did not appear";
        return nullptr;
    }
    SendMessageTimeoutA(GetDlgItem(opening, 1025), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    Click(opening, 1022);
    HWND start = game.WaitForWindow(kDialogClass, kStartCaption);
    if (start == nullptr) {
        ADD_FAILURE() << "the start message did not appear after the name was entered";
        return nullptr;
    }
    Click(start, IDOK);
    HWND main = nullptr;
    if (!WaitUntil([&] { return (main = game.TopWindow(kMainClass, nullptr)) != nullptr; })) {
        ADD_FAILURE() << "the main window was not shown after the start message";
        return nullptr;
    }
    BringToFront(main);
    return main;
}

// ---------------------------------------------------------------- texts

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr)
        return "<no control " + std::to_string(id) + ">";
    char text[1024] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &result);
    return text;
}

std::string MessageBoxText(HWND box)
{
    std::string text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            char cls[64] = {};
            GetClassNameA(child, cls, sizeof cls);
            if (lstrcmpiA(cls, "Static") != 0 ||
                (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                return TRUE;
            char text[1024] = {};
            SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                                SMTO_ABORTIFHUNG, 5000, nullptr);
            if (*text == '\0')
                return TRUE;
            *reinterpret_cast<std::string*>(param) = text;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

std::string DescribeWindows(const GameProcess& game)
{
    auto describe = [](HWND window) {
        if (window == nullptr)
            return std::string("none");
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        return std::string(cls) + " \"" + WindowText(window) + "\"";
    };
    std::string text = "foreground: " + describe(GetForegroundWindow());
    for (HWND window : game.VisibleWindows()) {
        text += "; shown: " + describe(window);
        if (HWND focus = FocusOf(window); focus != nullptr)
            text += " (focus: " + describe(focus) + ")";
    }
    return text;
}

HWND OwnerOf(HWND window)
{
    return GetWindow(window, GW_OWNER);
}

bool ShowsIcon(HWND box)
{
    bool icon = false;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
                SendMessageA(child, STM_GETICON, 0, 0) != 0)
                *reinterpret_cast<bool*>(param) = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&icon));
    return icon;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

bool IsDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// ---------------------------------------------------------------- input

void PostText(HWND window, std::string_view text)
{
    for (char c : text)
        PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PressKey(WORD virtualKey, bool alt)
{
    if (alt)
        SendKeys({{VK_MENU, false}, {virtualKey, false}, {virtualKey, true}, {VK_MENU, true}});
    else
        SendKeys({{virtualKey, false}, {virtualKey, true}});
}

void TypeKeys(std::string_view asciiLetters)
{
    for (char c : asciiLetters) {
        WORD key = static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        SendKeys({{key, false}, {key, true}});
    }
}

bool BringToFront(HWND window)
{
    if (GetForegroundWindow() == window)
        return true;
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

void Click(HWND dialog, int buttonId)
{
    PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
}

void PressCloseBox(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool SystemMenuRoundTrip(const GameProcess& game, HWND dialog)
{
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    if (!BringToFront(dialog))
        return false;
    PressKey(VK_SPACE, true);
    if (!WaitUntil([&] { return game.TopWindow(kMenuClass, nullptr) != nullptr; }))
        return false;
    // The first Esc closes the menu's popup; the menu mode may need a second.
    for (int attempt = 0; attempt < 3 && InMenuMode(thread); ++attempt) {
        PressKey(VK_ESCAPE);
        WaitUntil([&] { return !InMenuMode(thread); }, 1000);
    }
    return !InMenuMode(thread) && game.TopWindow(kMenuClass, nullptr) == nullptr;
}

bool InfoDialogRoundTrip(const GameProcess& game, HWND mainWindow)
{
    if (!BringToFront(mainWindow))
        return false;
    PressKey(VK_F1);
    HWND info = game.WaitForWindow(kDialogClass, kInfoTitle);
    if (info == nullptr)
        return false;
    Click(info, 1000);
    // The main window is active again once the dialog has gone.
    return WaitUntil([&] { return !IsWindow(info) && GetForegroundWindow() == mainWindow; });
}

// ---------------------------------------------------------------- screenshots

namespace {

// The pixels of a screen rectangle, as PNG rows (filter byte, then RGB).
Bytes CaptureRows(const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();

    const int stride = (width * 3 + 3) & ~3;
    Bytes rows;
    rows.reserve(static_cast<std::size_t>((width * 3 + 1) * height));
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);
        const auto* bgr = static_cast<const unsigned char*>(bits) + y * stride;
        for (int x = 0; x < width; ++x)
            rows.insert(rows.end(), {bgr[x * 3 + 2], bgr[x * 3 + 1], bgr[x * 3]});
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rows;
}

// Nothing drawn yet: every pixel the same.
bool Blank(const Bytes& rows, int width)
{
    const std::size_t rowSize = static_cast<std::size_t>(width) * 3 + 1;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t column = i % rowSize;
        if (column != 0 && rows[i] != rows[1 + (column - 1) % 3])
            return false;
    }
    return true;
}

}  // namespace

void SaveScreenshot(HWND window, std::string_view name)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect))
        return;
    rect.left = std::max(rect.left, 0L);
    rect.top = std::max(rect.top, 0L);
    rect.right = std::min<LONG>(rect.right, GetSystemMetrics(SM_CXSCREEN));
    rect.bottom = std::min<LONG>(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;

    // A window reaches the screen a little after it is shown or repainted:
    // take the picture once two looks 100 ms apart agree on something drawn.
    Bytes rows = CaptureRows(rect);
    for (int look = 0; look < 30; ++look) {
        Sleep(100);
        Bytes again = CaptureRows(rect);
        bool settled = again == rows && !Blank(again, rect.right - rect.left);
        rows = std::move(again);
        if (settled)
            break;
    }

    const std::string dir = WindowsPath(E2E_ARTIFACTS_DIR);
    CreateDirectoryA(dir.c_str(), nullptr);
    const std::string path = dir + "\\" + TestName() + "-" + std::string(name) + ".png";
    if (!WriteWholeFile(path, EncodePng(rect.right - rect.left, rect.bottom - rect.top, rows)))
        ADD_FAILURE() << "cannot save the screenshot " << path;
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

void Append(Bytes& to, const Bytes& more)
{
    to.insert(to.end(), more.begin(), more.end());
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
    for (const auto& [name, points] : entries) {
        Append(bytes, FixedText(name, 50));
        Append(bytes, Int32Le(points));
    }
    return bytes;
}

Bytes RankFile(const std::vector<std::string>& texts)
{
    Bytes bytes = Int32Le(static_cast<int32_t>(texts.size()));
    Append(bytes, FixedText("", 80));
    for (const std::string& text : texts)
        Append(bytes, FixedText(text, 80));
    return bytes;
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
    char text[128];
    GoalFigures figures;
    std::snprintf(text, sizeof text, "%d 文字", keys);
    figures.keys = text;
    std::snprintf(text, sizeof text, "%d 文字正解してるよぉ", hits);
    figures.hits = text;
    std::snprintf(text, sizeof text, "%3f%%", hitCount / keyCount * 100.0);
    figures.accuracy = text;
    std::snprintf(text, sizeof text, "%d 秒", static_cast<int>(elapsedMs / 1000));
    figures.seconds = text;
    std::snprintf(text, sizeof text, "%3f 秒", elapsed * 0.001 / hitCount);
    figures.perChar = text;
    return figures;
}

int32_t ExpectedPoints(int keys, int hits, uint32_t elapsedMs)
{
    volatile double keyCount = keys, hitCount = hits, elapsed = elapsedMs;
    const double accuracy = hitCount / keyCount * 100.0;
    const double perChar = elapsed * 0.001 / hitCount;
    auto truncate = [](double value) {
        return std::isfinite(value) ? static_cast<int32_t>(static_cast<int64_t>(value)) : 0;
    };
    const int32_t seconds = static_cast<int32_t>(elapsedMs / 1000);
    const int32_t timeTerm = std::max(0, (10000 - seconds) / 100);
    return truncate(1000.0 - perChar * 100.0) + timeTerm + truncate(accuracy);
}

// ---------------------------------------------------------------- playing

std::string Joined(const Stage& stage)
{
    std::string keys;
    for (const char* phrase : stage)
        keys += phrase;
    return keys;
}

uint32_t TitleMs(HWND main)
{
    const std::string title = WindowText(main);
    return IsDigits(title) ? static_cast<uint32_t>(std::stoul(title)) : 0;
}

std::string GoalTitle(const std::string& name)
{
    return name + " さん、お疲れ様でした";
}

HWND WaitForGoal(const GameProcess& game, const std::string& name)
{
    return game.WaitForWindow(kDialogClass, GoalTitle(name).c_str());
}

void TypeInOneBurst(const GameProcess& game, HWND main, std::string_view keys)
{
    game.Freeze();
    PostText(main, keys);
    game.Thaw();
}

void ExpectFigures(HWND goal, const GoalFigures& figures)
{
    EXPECT_EQ(ControlText(goal, 1030), figures.keys);
    EXPECT_EQ(ControlText(goal, 1040), figures.hits);
    EXPECT_EQ(ControlText(goal, 1032), figures.accuracy);
    EXPECT_EQ(ControlText(goal, 1034), figures.seconds);
    EXPECT_EQ(ControlText(goal, 1036), figures.perChar);
}

bool TabMovesFocus(HWND goal)
{
    // Wait for the focus to settle on one of the dialog's buttons first: a
    // focus still coming back from a message box would pass for the Tab's
    // doing, and the Tab would then reach the main window as a character.
    HWND before = nullptr;
    if (!WaitUntil(
            [&] {
                before = FocusOf(goal);
                return GetForegroundWindow() == goal && IsChild(goal, before);
            },
            3000))
        return false;
    PressKey(VK_TAB);
    return WaitUntil(
        [&] {
            HWND focus = FocusOf(goal);
            return focus != before && IsChild(goal, focus);
        },
        3000);
}

// A message box without a caption (the goal dialog, too, has none until it
// has set its title, but it has no OK button).
HWND NewRecordMessage(const GameProcess& game)
{
    for (HWND window : game.VisibleWindows()) {
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (std::string_view(cls) == kDialogClass && WindowText(window).empty() &&
            GetDlgItem(window, IDOK) != nullptr)
            return window;
    }
    return nullptr;
}

void ExpectRecord(const Bytes& file, std::size_t at, std::size_t size, const std::string& text)
{
    ASSERT_LE(at + size, file.size());
    const auto begin = file.begin() + static_cast<std::ptrdiff_t>(at);
    const auto terminator = std::find(begin, begin + static_cast<std::ptrdiff_t>(size), 0);
    ASSERT_NE(terminator, begin + static_cast<std::ptrdiff_t>(size)) << "record without a terminator";
    EXPECT_EQ(std::string(begin, terminator), text);
}

