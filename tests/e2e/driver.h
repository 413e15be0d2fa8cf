// Drives the real Keyhaven.exe from outside, as a player would: it lays out a
// game folder, starts the game there, finds its windows by class and title,
// types, presses keys, clicks buttons, reads texts and files, and takes
// screenshots. Every text is CP932, like the game's own.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Window classes and texts the driver looks for.
inline constexpr const char* kDialogClass = "#32770";
inline constexpr const char* kMenuClass = "#32768";
inline constexpr const char* kMainClass = "メインウィンドウ";
inline constexpr const char* kMainTitle = "ぱたたん！";
inline constexpr const char* kOpeningTitle =
    "さぁ、みんなで、ぱたたん！　　～タイピングソフトウエア ／ver.0.0.2";
inline constexpr const char* kStartText =
    "表示されている '緑色'のアルファベットをタイピングし始めると、スタートします！\n"
    "　　尚、好ポイントは、ランキング上位に記録されますので、頑張って！";
inline constexpr const char* kStartCaption =
    "ぱたたんのスタート！！！　　緑色のアルファベットをタイプすると、始まるよぉ";
inline constexpr const char* kCloseCaption = "ぱたたん！の終了";
inline constexpr const char* kCloseText = "終了しますか？";
inline constexpr const char* kInfoTitle = "Infomeation ";
inline constexpr const char* kSoundTitle = "設定メニュー";
inline constexpr const char* kRankTitle = "ランキング ベスト５";

inline constexpr int kWaitMs = 10000;  // generous: Wine on two busy cores

// Polls `condition` every 10 ms until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kWaitMs);

// Windows paths of the build's own files (the build hands us Unix paths).
std::string WindowsPath(std::string_view unixPath);

// A fresh folder holding Keyhaven.exe and its seven sounds, removed again
// (with whatever the game wrote into it) when the test is done.
class GameFolder {
public:
    GameFolder();
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(std::string_view file) const;
    Bytes Read(std::string_view file) const;  // empty when missing
    void Write(std::string_view file, const Bytes& bytes) const;
    DWORD Attributes(std::string_view file) const;
    // Marks the file as last read long ago, so that the next read by the game
    // shows as a fresh access time.
    void AgeAccessTime(std::string_view file) const;
    bool ReadSinceAged(std::string_view file) const;

private:
    std::string path_;
};

// One running copy of the game. Ends it (TerminateProcess) on destruction if
// it is still running, so a failed test never leaves a process behind.
class GameProcess {
public:
    explicit GameProcess(const GameFolder& folder);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool Started() const { return process_ != nullptr; }

    // A top-level window of this process with the class and, unless null, the
    // title; `visibleOnly` skips hidden ones.
    HWND TopWindow(const char* cls, const char* title, bool visibleOnly = true) const;
    HWND WaitForWindow(const char* cls, const char* title, int timeoutMs = kWaitMs) const;
    std::vector<HWND> VisibleWindows() const;

    // True (with the code) once the process has ended within the timeout.
    bool WaitForExit(DWORD& exitCode, int timeoutMs = kWaitMs) const;
    bool Running() const;

    // Holds the game's message-loop thread while a burst of messages is posted,
    // so the whole burst is queued before the first one is handled.
    void Freeze() const;
    void Thaw() const;

    // Counters of the whole process, from the system's process list (under
    // Wine, GetProcessHandleCount, GetProcessMemoryInfo and GetProcessTimes
    // do not report them for another process).
    struct Counters {
        unsigned long handles = 0;
        unsigned long threads = 0;
        std::size_t privateBytes = 0;
        double cpuSeconds = 0;  // user and kernel time of all its threads
    };
    Counters ReadCounters() const;

private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

// The opening: name entered (into the field, then the start button), start
// message confirmed, main window shown. Returns the main window, or nullptr
// after recording a failure that says which step did not happen.
HWND EnterGame(const GameProcess& game, const char* name);

// Texts.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
std::string MessageBoxText(HWND box);  // the text of a message box
HWND OwnerOf(HWND window);
// The game's windows, the foreground window and the focus, for failure messages.
std::string DescribeWindows(const GameProcess& game);
bool ShowsIcon(HWND box);           // a message box with an icon
HWND FocusOf(HWND window);          // the focus of the window's thread
bool IsDigits(std::string_view text);

// Input. Posted characters go straight to the main window; keys and clicks
// go through the same paths as a person's.
void PostText(HWND window, std::string_view text);
void PressKey(WORD virtualKey, bool alt = false);
void TypeKeys(std::string_view asciiLetters);  // real key presses, a to z
bool BringToFront(HWND window);
void Click(HWND dialog, int buttonId);     // BM_CLICK, posted
void PressCloseBox(HWND window);           // what the close box sends
// Proves that everything sent to a dialog before has been handled, without
// changing it: opens its system menu with Alt+Space and closes it again.
bool SystemMenuRoundTrip(const GameProcess& game, HWND dialog);
// The same for the main window: F1 opens the information dialog, which is
// closed again.
bool InfoDialogRoundTrip(const GameProcess& game, HWND mainWindow);

// Screenshots of a window (as on the screen) into <build>/e2e-artifacts.
void SaveScreenshot(HWND window, std::string_view name);

// Record files.
Bytes Int32Le(int32_t value);
int32_t ReadInt32Le(const Bytes& bytes, std::size_t at);
void Append(Bytes& to, const Bytes& more);
Bytes FixedText(std::string_view text, std::size_t size);  // zero-padded
Bytes BestFile(const std::vector<std::pair<std::string, int32_t>>& entries);
Bytes RankFile(const std::vector<std::string>& texts);

// The five statistics of a goal as the game formats them, its history text
// and its points.
struct GoalFigures {
    std::string keys, hits, accuracy, seconds, perChar;
    std::string HistoryText(std::string_view name) const;
};
GoalFigures ExpectedFigures(int keys, int hits, uint32_t elapsedMs);
int32_t ExpectedPoints(int keys, int hits, uint32_t elapsedMs);

// ---------------------------------------------------------------- playing

using Stage = std::array<const char*, 11>;

inline constexpr Stage kStage1 = {
    "ohayougozaimasu", "konnnichiha", "konnbannha", "hisashiburidesune", "chiyoppichiyoppi",
    "kiaihaitteiru?", "saikinnchoushihadou?", "iichoushidayo", "sorenishitemoiitennkidane",
    "gennkigennki?", "gannbatteirukai?"};
inline constexpr Stage kStage2 = {
    "gannbaruzo", "kiaida", "bennkyougannbatte", "sonoatoha", "oishiibannmeshiga", "matteiruyo",
    "harahachibunnmenishite", "yukkurikyuukeishiyou", "ko-hi-katateni",
    "shinnbunndemoyominagara", "tanoshiihitotokidemosugosou"};
inline constexpr Stage kStage9 = {
    "saishuuraunndodayo", "kokomadekitara", "kuriasurushikanaine", "saikoupoinntowodasou",
    "yarebadekiru", "kiminokotodayo", "saago-rugamietekimashita", "rasutosupa-to!",
    "mousukoshidekannryoudayo", "yokukokomadegannbattane", "matanochousennwoomachishiteorimasu"};

// Every phrase of a stage typed right in a run that no clock tick falls into
// (no seconds): 1000 + 100 + 100 points.
inline constexpr int32_t kPerfectBurstPoints = 1200;

std::string Joined(const Stage& stage);
uint32_t TitleMs(HWND main);  // the title's milliseconds, 0 when it shows none
std::string GoalTitle(const std::string& name);
HWND WaitForGoal(const GameProcess& game, const std::string& name);

// Queues the keys while the game is held, so that no clock tick falls
// between them: the run then takes no time at all.
void TypeInOneBurst(const GameProcess& game, HWND main, std::string_view keys);

void ExpectFigures(HWND goal, const GoalFigures& figures);

// Tab moves the goal dialog's focus from one button to another, but only
// while the dialog is open and no message box has taken the keyboard.
bool TabMovesFocus(HWND goal);

// The new-record message: a message box without a caption.
HWND NewRecordMessage(const GameProcess& game);

// Expects the record at `at` (of `size` bytes) to hold `text` and its
// terminator; bytes after the terminator mean nothing.
void ExpectRecord(const Bytes& file, std::size_t at, std::size_t size, const std::string& text);
