// Drives the real Keyhaven.exe from outside, as a player would: it lays out a
// game folder, starts the game there, finds its windows by class and title,
// types, presses keys, clicks buttons, reads texts and files, and takes
// screenshots. Every text is CP932, like the game's own. The end-to-end tests
// and the benchmark both drive the game with it.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resource.h"

using Bytes = std::vector<unsigned char>;

inline constexpr const char* kDialogClass = "#32770";
inline constexpr const char* kMenuClass = "#32768";
inline constexpr const char* kMainClass = "メインウィンドウ";
inline constexpr const char* kMainTitle = "ぱたたん！";
inline constexpr const char* kOpeningTitle =
    "さぁ、みんなで、ぱたたん！　　～タイピングソフトウエア ／ver.0.0.2";
inline constexpr const char* kStartCaption =
    "ぱたたんのスタート！！！　　緑色のアルファベットをタイプすると、始まるよぉ";
inline constexpr const char* kCloseCaption = "ぱたたん！の終了";
inline constexpr const char* kCloseText = "終了しますか？";
inline constexpr const char* kInfoTitle = "Infomeation ";
inline constexpr const char* kRankTitle = "ランキング ベスト５";

inline constexpr int kWaitMs = 10000;  // generous: Wine on two busy cores

// Reports a step that failed, naming it. Each program that links the driver
// defines it: a test records a failure and goes on, the benchmark stops.
void ReportFailure(const std::string& what,
                   std::source_location where = std::source_location::current());

// Polls `condition` every `pollMs` until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kWaitMs, int pollMs = 10);
// Windows paths of the build's own files (the build hands us Unix paths,
// which Wine shows on drive Z:); a Windows path stays as it is.
std::string WindowsPath(std::string_view path);
bool WriteWholeFile(const std::string& path, const Bytes& bytes);

// The files of a game folder, without the record files a game played there left behind.
std::vector<std::string> GameFiles(const std::string& folder);

// A fresh folder holding copies of some files, by default the build's
// Keyhaven.exe and its seven sounds, removed again (with whatever the game
// wrote into it) when the test is done.
class GameFolder {
public:
    GameFolder();
    explicit GameFolder(const std::vector<std::string>& files);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(std::string_view file) const { return path_ + "\\" + std::string(file); }
    Bytes Read(std::string_view file) const;  // empty when missing
    void Write(std::string_view file, const Bytes& bytes) const;
    // Marks the file as read long ago, so that the game's next read of it shows.
    void AgeAccessTime(std::string_view file) const;
    bool ReadSinceAged(std::string_view file) const;

private:
    std::string path_;
};

// One running copy of the game (or of another exe of its folder), ended on
// destruction if it still runs, so a failed test never leaves a process behind.
class GameProcess {
public:
    GameProcess() = default;
    explicit GameProcess(const GameFolder& folder) { Start(folder); }
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool Start(const GameFolder& folder, const std::string& exe = "Keyhaven.exe");
    HANDLE Handle() const { return process_; }
    DWORD Id() const { return id_; }
    bool Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD& exitCode, int timeoutMs = kWaitMs) const;

    std::vector<HWND> Windows(bool visibleOnly = true) const;  // top-level ones
    // A top-level window with the class and, unless null, the title.
    HWND TopWindow(const char* cls, const char* title, bool visibleOnly = true) const;
    // A top-level window, shown or not, with the class that passes the test.
    HWND TopWindowWhere(const char* cls, const std::function<bool(HWND)>& passes) const;
    HWND WaitForWindow(const char* cls, const char* title, int timeoutMs = kWaitMs) const;

    // Queues the characters while the game's thread is held, so that no clock
    // tick falls between them: the run then takes no time at all.
    void PostInOneBurst(HWND main, std::string_view keys) const;

    // From the system's process list: under Wine, GetProcessHandleCount,
    // GetProcessMemoryInfo and GetProcessTimes miss another process's figures.
    struct Counters {
        unsigned long handles = 0, threads = 0;
        std::size_t privateBytes = 0;
        double cpuSeconds = 0;
    };
    Counters ReadCounters() const;

private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

// The opening: name entered, start message confirmed, main window shown.
// Returns the main window, or nullptr after a failure that names the step.
HWND EnterGame(const GameProcess& game, const char* name);

// Texts and windows.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
std::string MessageBoxText(HWND box);
std::string DescribeWindows(const GameProcess& game);  // for failure messages
bool ShowsIcon(HWND box);
inline bool IsDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == text.npos;
}
bool IsCentred(HWND window);

// Input. Posted characters go straight to the main window; keys and clicks
// go through the same paths as a person's.
void PostText(HWND window, std::string_view text);
void PressKey(WORD virtualKey, bool alt = false);
bool BringToFront(HWND window);
inline void Click(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool Dismiss(HWND dialog, int buttonId);  // clicks and waits for the dialog to go
// Esc and the close box, then proof that both were handled: true when the
// dialog is still open.
bool IgnoresEscAndCloseBox(const GameProcess& game, HWND dialog);
HWND OpenWithKey(const GameProcess& game, HWND main, WORD key, const char* title);
// Proves that everything sent to the main window before has been handled:
// F1 opens the information dialog, which is closed again.
bool InfoDialogRoundTrip(const GameProcess& game, HWND main);

// The pixels of a screen rectangle, top row first, as 0xXXRRGGBB.
std::vector<uint32_t> Capture(const RECT& rect);
// A window as on the screen, once drawn, as a PNG; empty when it is off the screen.
Bytes ScreenshotPng(HWND window);

// Record files.
Bytes Int32Le(int32_t value);
int32_t ReadInt32Le(const Bytes& bytes, std::size_t at);
Bytes Concat(std::initializer_list<Bytes> parts);
Bytes FixedText(std::string_view text, std::size_t size);  // zero-padded
Bytes BestFile(const std::vector<std::pair<std::string, int32_t>>& entries);
Bytes RankFile(const std::vector<std::string>& texts);
// The text of the record at `at` up to its terminator; bytes after it mean nothing.
std::string RecordAt(const Bytes& file, std::size_t at, std::size_t size);

// A goal's five statistics as the game formats them, and its points.
struct GoalFigures {
    std::string keys, hits, accuracy, seconds, perChar;
    int32_t points = 0;
    std::string HistoryText(std::string_view name) const;
};
GoalFigures ExpectedFigures(int keys, int hits, uint32_t elapsedMs);

// ---------------------------------------------------------------- playing

using Stage = std::array<const char*, 11>;
inline constexpr Stage kStage1 = {
    "ohayougozaimasu", "konnnichiha", "konnbannha", "hisashiburidesune", "chiyoppichiyoppi",
    "kiaihaitteiru?", "saikinnchoushihadou?", "iichoushidayo", "sorenishitemoiitennkidane",
    "gennkigennki?", "gannbatteirukai?"};

// A whole stage typed right in one burst: 1000 + 100 + 100 points.
inline constexpr int32_t kPerfectBurstPoints = 1200;

std::string Joined(const Stage& stage);
inline std::string GoalTitle(const std::string& name) { return name + " さん、お疲れ様でした"; }
inline HWND WaitForGoal(const GameProcess& game, const std::string& name)
{
    return game.WaitForWindow(kDialogClass, GoalTitle(name).c_str());
}
// Tab moves the goal dialog's focus from one button to another, but only
// while the dialog is open and no message box has taken the keyboard.
bool TabMovesFocus(HWND goal);
// The new-record message: a message box without a caption.
HWND NewRecordMessage(const GameProcess& game);
