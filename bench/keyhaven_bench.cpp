// Measures the real Keyhaven.exe side by side with bare_window.exe, a window of
// the same kind that does nothing, under the same Wine and display:
//   start-up time to the first window, idle CPU at the main window, the cost of
//   one typed key (the character handler and the repaint it asks for) with the
//   keys following one another as fast as the program takes them, peak memory
//   and the size of the exe.
//
//   keyhaven_bench [GAME_FOLDER [BARE_WINDOW_EXE]]
//
// Every start runs in a fresh temporary copy of the game folder (its exe and
// sounds, never its record files), so each game begins as on a first start.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "course/phrase_table.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"

namespace {

constexpr int kStartRuns = 7;
constexpr DWORD kIdleMilliseconds = 10000;
constexpr int kTimedKeys = 2000;
constexpr int kPatienceMilliseconds = 30000;

constexpr const char* kBareClass = "KeyhavenBareWindow";
constexpr const char* kPlayerName = "bench";

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

double NowMilliseconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

ULONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        throw Failure("cannot read the size of " + path);
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Polled every millisecond: the start-up time is taken with it.
void WaitFor(const char* what, const std::function<bool()>& condition)
{
    if (!WaitUntil(condition, kPatienceMilliseconds, 1))
        throw Failure(std::string("gave up waiting for ") + what);
}

// A message to another process's window that gives up rather than hang the run.
LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL,
                             kPatienceMilliseconds, &result))
        throw Failure("a window did not answer");
    return static_cast<LRESULT>(result);
}

// The two programs under measurement, each started from a fresh folder.
struct Subject {
    bool isGame;
    std::string exe;         // the built exe
    std::string gameFolder;  // the game only: the folder it is copied from

    std::vector<std::string> Files() const
    {
        return isGame ? GameFiles(gameFolder) : std::vector<std::string>{exe};
    }
    std::string ExeName() const { return std::filesystem::path(exe).filename().string(); }
    // Game: the opening dialog; bare: its only window.
    HWND FirstWindow(const GameProcess& process) const
    {
        return isGame ? process.TopWindow(kDialogClass, kOpeningTitle)
                      : process.TopWindow(kBareClass, nullptr);
    }
};

double MeasureStartUp(const Subject& subject)
{
    GameFolder folder(subject.Files());
    const double start = NowMilliseconds();
    GameProcess process;
    process.Start(folder, subject.ExeName());
    WaitFor("the first window", [&] { return subject.FirstWindow(process) != nullptr; });
    return NowMilliseconds() - start;
}

HWND OpenBare(const GameProcess& process)
{
    HWND main = nullptr;
    WaitFor("the bare window", [&] {
        return (main = process.TopWindow(kBareClass, nullptr)) != nullptr;
    });
    return main;
}

void ForEachThread(DWORD processId, const std::function<void(DWORD threadId)>& visit)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        throw Failure("cannot list the threads");
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == processId)
            visit(entry.th32ThreadID);
    }
    CloseHandle(snapshot);
}

int ThreadCount(DWORD processId)
{
    int count = 0;
    ForEachThread(processId, [&count](DWORD) { ++count; });
    return count;
}

// Kernel and user time of a process, in 100 ns units, summed over its threads.
// Wine 8 answers GetProcessTimes for another process with the caller's own
// times, while GetThreadTimes reads the thread asked for. A thread that ends
// between two readings takes its time with it, which does not matter for an
// idle program.
ULONGLONG CpuTime100ns(DWORD processId)
{
    auto ticks = [](FILETIME t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    ULONGLONG total = 0;
    ForEachThread(processId, [&](DWORD threadId) {
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId);
        if (!thread)
            return;
        FILETIME created, exited, kernel, user;
        if (GetThreadTimes(thread, &created, &exited, &kernel, &user))
            total += ticks(kernel) + ticks(user);
        CloseHandle(thread);
    });
    return total;
}

// CPU time over a stretch of wall time, as a percentage of one core.
double MeasureIdleCpu(DWORD processId)
{
    const ULONGLONG cpuStart = CpuTime100ns(processId);
    const double wallStart = NowMilliseconds();
    Sleep(kIdleMilliseconds);
    const double cpuMs = static_cast<double>(CpuTime100ns(processId) - cpuStart) / 10000.0;
    return 100.0 * cpuMs / (NowMilliseconds() - wallStart);
}

// One key of the course in the order the game expects it. The key that
// finishes a stage opens the goal dialog; it records the stage, which button
// moves on, and how many keys the run counted.
struct PlannedKey {
    char character;
    int finishedStage;  // 0 for an ordinary key
    int button;
    int runKeys;
};

// Types the course as a player who makes no mistake: stage after stage, each
// goal dialog sending them to the next stage. After stage 9 its previous-stage
// button (which restores stage 8) avoids the next-stage button's quit question.
// Stops when `timedKeys` keys that do not finish a stage have been planned.
std::vector<PlannedKey> PlanKeys(int timedKeys)
{
    std::array<const char*, kSlotCount> rest{};
    for (int slot = 0; slot < kSlotCount; ++slot)
        rest[slot] = kCourse[slot].romaji;

    std::vector<PlannedKey> plan;
    int entry = 0;
    int timed = 0;
    int runKeys = 0;
    while (timed < timedKeys) {
        const char* romaji = rest[entry];
        if (!romaji || *romaji == '\0')
            throw Failure("the planned course ran into a slot with nothing to type");
        PlannedKey key{*romaji, 0, 0, ++runKeys};
        rest[entry] = romaji + 1;
        if (*rest[entry] == '\0')
            ++entry;
        if (kCourse[entry].romaji) {
            ++timed;
        } else {
            const int stage = entry / kSlotsPerStage + 1;
            key.finishedStage = stage;
            if (stage < kStageCount) {
                key.button = IDC_GOAL_NEXT;
                entry = FirstSlotOfStage(stage + 1);
            } else {
                key.button = IDC_GOAL_PREV;
                entry = FirstSlotOfStage(stage - 1);
                for (int slot = entry; slot < entry + kSlotsPerStage; ++slot)
                    rest[slot] = kCourse[slot].romaji;
            }
            runKeys = 0;
        }
        plan.push_back(key);
    }
    return plan;
}

struct Typing {
    std::vector<double> keyMilliseconds;
    int mostThreads = 0;  // counted at every stage end and after the last key
    int goals = 0;
    int newRecordMessages = 0;
    int paintedKeys = 0;  // keys after which the paint was seen to be done
};

// One timed key: the character, sent so that its handler has run when the call
// returns, then the repaint it asked for. UpdateWindow on another process's
// window does send WM_PAINT and wait for it, but only while the window still
// has something to paint: the window's own thread, idle again once the
// character is handled, often begins the paint first, and UpdateWindow then
// returns at once. The closing WM_NULL is served only when that thread waits
// for messages again, so the paint is finished whichever thread started it.
double TimeKey(HWND window, char character)
{
    const double start = NowMilliseconds();
    SendMessageA(window, WM_CHAR, static_cast<unsigned char>(character), 0);
    UpdateWindow(window);
    SendMessageA(window, WM_NULL, 0, 0);
    return NowMilliseconds() - start;
}

bool HasNothingToPaint(HWND window)
{
    return !GetUpdateRect(window, nullptr, FALSE);
}

// The key that finishes a stage opens the goal dialog inside the game's
// character handler, which returns only when the dialog is closed; so the key
// is posted, and the dialog is closed from here with the planned button.
void FinishStage(const GameProcess& process, HWND main, const PlannedKey& key, Typing& typing)
{
    PostMessageA(main, WM_CHAR, static_cast<unsigned char>(key.character), 0);
    HWND goal = nullptr;
    WaitFor("the goal dialog", [&] {
        goal = process.TopWindowWhere(kDialogClass,
                                      [](HWND w) { return GetDlgItem(w, IDC_GOAL_NEXT) != nullptr; });
        return goal != nullptr;
    });

    // The dialog shows itself before it writes the records and may then announce
    // a new record. A message sent to it is served only when its thread waits for
    // messages: once the dialog has finished opening, or inside that message box.
    for (;;) {
        SendWithin(goal, WM_NULL, 0, 0);
        HWND message = process.TopWindowWhere(kDialogClass, [goal](HWND w) { return w != goal; });
        if (!message)
            break;
        ++typing.newRecordMessages;
        SendWithin(message, WM_COMMAND, IDOK, 0);
        WaitFor("the new-record message to close", [&] { return !IsWindow(message); });
    }

    const int keystrokes = std::atoi(ControlText(goal, IDC_GOAL_KEYS).c_str());
    const int correct = std::atoi(ControlText(goal, IDC_GOAL_HITS).c_str());
    if (keystrokes != key.runKeys || correct != key.runKeys)
        throw Failure("stage " + std::to_string(key.finishedStage) + " counted " +
                      std::to_string(correct) + " of " + std::to_string(keystrokes) +
                      " keystrokes correct; " + std::to_string(key.runKeys) +
                      " correct keys were typed");
    ++typing.goals;

    SendWithin(GetDlgItem(goal, key.button), BM_CLICK, 0, 0);
    WaitFor("the goal dialog to close", [&] { return !IsWindow(goal); });
}

Typing TypeIntoGame(const GameProcess& process, HWND main, const std::vector<PlannedKey>& plan)
{
    Typing typing;
    for (const PlannedKey& key : plan) {
        if (key.finishedStage) {
            typing.mostThreads = std::max(typing.mostThreads, ThreadCount(process.Id()));
            FinishStage(process, main, key, typing);
            continue;
        }
        typing.keyMilliseconds.push_back(TimeKey(main, key.character));
        typing.paintedKeys += HasNothingToPaint(main);
    }
    typing.mostThreads = std::max(typing.mostThreads, ThreadCount(process.Id()));
    return typing;
}

// The bare window gets the same keys but those that would finish a stage. It
// counts its paints, so here the paint is seen to have run, not only that
// nothing is left to paint.
Typing TypeIntoBare(const GameProcess& process, HWND main, const std::vector<PlannedKey>& plan)
{
    auto paints = [main] { return GetWindowLongPtrA(main, GWLP_USERDATA); };
    Typing typing;
    for (const PlannedKey& key : plan) {
        if (key.finishedStage) {
            typing.mostThreads = std::max(typing.mostThreads, ThreadCount(process.Id()));
            continue;
        }
        const LONG_PTR before = paints();
        typing.keyMilliseconds.push_back(TimeKey(main, key.character));
        typing.paintedKeys += paints() > before && HasNothingToPaint(main);
    }
    typing.mostThreads = std::max(typing.mostThreads, ThreadCount(process.Id()));
    return typing;
}

struct Figures {
    double startUpMs = 0;
    double idleCpuPercent = 0;
    Typing typing;
    PROCESS_MEMORY_COUNTERS memoryAtMain{};     // once the main window is up and idle
    PROCESS_MEMORY_COUNTERS memoryAfterKeys{};
    ULONGLONG exeBytes = 0;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Nearest-rank percentile.
double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * values.size()));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

PROCESS_MEMORY_COUNTERS MemoryOf(const GameProcess& process)
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.Handle(), &memory, sizeof memory))
        throw Failure("GetProcessMemoryInfo failed");
    return memory;
}

Figures MeasureSession(const Subject& subject, const std::vector<PlannedKey>& plan)
{
    Figures figures;
    GameFolder folder(subject.Files());
    figures.exeBytes = FileSize(folder.PathOf(subject.ExeName()));
    GameProcess process;
    process.Start(folder, subject.ExeName());
    HWND main = subject.isGame ? EnterGame(process, kPlayerName) : OpenBare(process);

    figures.idleCpuPercent = MeasureIdleCpu(process.Id());
    figures.memoryAtMain = MemoryOf(process);
    figures.typing = subject.isGame ? TypeIntoGame(process, main, plan)
                                    : TypeIntoBare(process, main, plan);
    figures.memoryAfterKeys = MemoryOf(process);
    return figures;
}

std::string Fixed(double value, const char* unit, int decimals = 1)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f %s", decimals, value, unit);
    return text;
}

std::string Mebibytes(SIZE_T bytes)
{
    return Fixed(static_cast<double>(bytes) / (1024.0 * 1024.0), "MiB");
}

void Row(const char* metric, const std::string& game, const std::string& bare)
{
    std::printf("%-40s | %-14s | %s\n", metric, game.c_str(), bare.c_str());
}

void Report(const Figures& game, const Figures& bare)
{
    const std::vector<double>& gameKeys = game.typing.keyMilliseconds;
    const std::vector<double>& bareKeys = bare.typing.keyMilliseconds;
    Row("metric", "Keyhaven.exe", "bare window");
    std::printf("%s\n", std::string(72, '-').c_str());
    Row("start-up to first window, median of 7", Fixed(game.startUpMs, "ms"),
        Fixed(bare.startUpMs, "ms"));
    Row("idle CPU at main window over 10 s", Fixed(game.idleCpuPercent, "%", 2),
        Fixed(bare.idleCpuPercent, "%", 2));
    Row("per key (WM_CHAR + paint), median", Fixed(Median(gameKeys), "ms", 3),
        Fixed(Median(bareKeys), "ms", 3));
    Row("per key (WM_CHAR + paint), 99th pct", Fixed(Percentile(gameKeys, 99), "ms", 3),
        Fixed(Percentile(bareKeys, 99), "ms", 3));
    Row("most threads seen while typing", std::to_string(game.typing.mostThreads),
        std::to_string(bare.typing.mostThreads));
    Row("peak working set, idle at main window", Mebibytes(game.memoryAtMain.PeakWorkingSetSize),
        Mebibytes(bare.memoryAtMain.PeakWorkingSetSize));
    Row("peak working set, after the keys", Mebibytes(game.memoryAfterKeys.PeakWorkingSetSize),
        Mebibytes(bare.memoryAfterKeys.PeakWorkingSetSize));
    Row("peak pagefile usage, idle at main window",
        Mebibytes(game.memoryAtMain.PeakPagefileUsage),
        Mebibytes(bare.memoryAtMain.PeakPagefileUsage));
    Row("peak pagefile usage, after the keys", Mebibytes(game.memoryAfterKeys.PeakPagefileUsage),
        Mebibytes(bare.memoryAfterKeys.PeakPagefileUsage));
    Row("exe size", Fixed(static_cast<double>(game.exeBytes) / 1024.0, "KiB"),
        Fixed(static_cast<double>(bare.exeBytes) / 1024.0, "KiB"));
    std::printf("\nkeys: %zu timed per program; game: %d stage goals (all keys counted correct, "
                "finishing keys untimed), %d new-record messages dismissed\n",
                gameKeys.size(), game.typing.goals, game.typing.newRecordMessages);
    std::printf("paint done when the key's time was taken: game %d/%zu (nothing left to paint), "
                "bare %d/%zu (paint counted, nothing left to paint)\n",
                game.typing.paintedKeys, gameKeys.size(), bare.typing.paintedKeys,
                bareKeys.size());
}

} // namespace

// A failed step of the driver ends the run.
void ReportFailure(const std::string& what, std::source_location)
{
    throw Failure(what);
}

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    try {
        const std::string gameFolder = WindowsPath(argc > 1 ? argv[1] : KEYHAVEN_GAME_FOLDER);
        const Subject game{true, gameFolder + "\\Keyhaven.exe", gameFolder};
        const Subject bare{false, WindowsPath(argc > 2 ? argv[2] : BARE_WINDOW_EXE), ""};
        const std::vector<PlannedKey> plan = PlanKeys(kTimedKeys);

        std::vector<double> gameStarts, bareStarts;
        for (int run = 0; run < kStartRuns; ++run) {
            gameStarts.push_back(MeasureStartUp(game));
            bareStarts.push_back(MeasureStartUp(bare));
        }
        Figures gameFigures = MeasureSession(game, plan);
        Figures bareFigures = MeasureSession(bare, plan);
        gameFigures.startUpMs = Median(gameStarts);
        bareFigures.startUpMs = Median(bareStarts);
        Report(gameFigures, bareFigures);
        return 0;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "keyhaven_bench: %s\n", failure.what());
        return 1;
    }
}
