// The commands behind F1, F3 and F7: the information dialog, the hit-sound
// settings and the mail link.
#include <gtest/gtest.h>

#include <array>

#include "tests/e2e/driver.h"

namespace {

constexpr const char* kMailErrorCaption = "ｵｰﾌﾟﾝｴﾗｰ";
constexpr const char* kMailErrorText = "メールソフトを開く事が出来ませんねぇ";
constexpr const char* kMailtoKey = "Software\\Classes\\mailto";

// Takes every handler of mailto: links out of the prefix for one test (so
// that no mail program is registered), optionally registers one of the
// test's own, and puts the prefix back as it was afterwards.
class MailtoHandlers {
public:
    MailtoHandlers()
    {
        for (Saved& saved : saved_) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(saved.root, kMailtoKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
                continue;
            const std::string backup = "Software\\KeyhavenE2E\\mailto-" +
                                       std::to_string(reinterpret_cast<uintptr_t>(saved.root));
            RegCreateKeyExA(HKEY_CURRENT_USER, backup.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &saved.backup, nullptr);
            RegCopyTreeA(key, nullptr, saved.backup);
            RegCloseKey(key);
            RegDeleteTreeA(saved.root, kMailtoKey);
        }
    }

    ~MailtoHandlers()
    {
        for (Saved& saved : saved_) {
            RegDeleteTreeA(saved.root, kMailtoKey);
            if (saved.backup == nullptr)
                continue;
            HKEY key = nullptr;
            RegCreateKeyExA(saved.root, kMailtoKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr);
            RegCopyTreeA(saved.backup, nullptr, key);
            RegCloseKey(key);
            RegCloseKey(saved.backup);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KeyhavenE2E");
    }

    MailtoHandlers(const MailtoHandlers&) = delete;
    MailtoHandlers& operator=(const MailtoHandlers&) = delete;

    static void Register(const std::string& command)
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMailtoKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        RegSetValueA(key, "shell\\open\\command", REG_SZ, command.c_str(),
                     static_cast<DWORD>(command.size()));
        RegCloseKey(key);
    }

private:
    struct Saved {
        HKEY root;
        HKEY backup = nullptr;
    };
    std::array<Saved, 2> saved_{{{HKEY_LOCAL_MACHINE}, {HKEY_CURRENT_USER}}};
};

bool IsCentred(HWND window)
{
    RECT desktop{}, frame{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &frame);
    return frame.left == (desktop.right - (frame.right - frame.left)) / 2 &&
           frame.top == (desktop.bottom - (frame.bottom - frame.top)) / 2;
}

TEST(Commands, InformationDialogClosesOnlyWithItsButton)
{
    GameFolder folder;
    GameProcess game(folder);
    HWND main = EnterGame(game, "Aoi");
    ASSERT_NE(main, nullptr);

    PressKey(VK_F1);
    HWND info = game.WaitForWindow(kDialogClass, kInfoTitle);
    ASSERT_NE(info, nullptr) << "F1 opened no dialog titled \"Infomeation \"";
    SaveScreenshot(info, "information");
    EXPECT_EQ(OwnerOf(info), main);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the information dialog is not modal";
    EXPECT_TRUE(IsCentred(info));
    EXPECT_EQ(ControlText(info, 1002), "ぱたたん！　タイピングソフトウエア");

    PressKey(VK_ESCAPE);
    PressCloseBox(info);
    ASSERT_TRUE(SystemMenuRoundTrip(game, info)) << "Esc or the close box closed the dialog";
    EXPECT_TRUE(IsWindowVisible(info));

    Click(info, 1000);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(info); })) << "\"閉じる(&X)\" did not close it";
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST(Commands, MailWithoutAMailProgramSaysSoAndTheGameGoesOn)
{
    MailtoHandlers noHandlers;
    GameFolder folder;
    GameProcess game(folder);
    HWND main = EnterGame(game, "Aoi");
    ASSERT_NE(main, nullptr);

    PressKey(VK_F7);
    HWND error = game.WaitForWindow(kDialogClass, kMailErrorCaption);
    ASSERT_NE(error, nullptr) << "F7 without a mail program showed no error";
    SaveScreenshot(error, "mail-error");
    EXPECT_EQ(MessageBoxText(error), kMailErrorText);
    EXPECT_EQ(OwnerOf(error), main);
    EXPECT_FALSE(ShowsIcon(error));
    Click(error, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(error); }));
    EXPECT_TRUE(InfoDialogRoundTrip(game, main));
}

TEST(Commands, MailHandsTheLinkToTheMailProgram)
{
    MailtoHandlers handlers;
    GameFolder folder;
    MailtoHandlers::Register("\"" + WindowsPath(MAIL_CATCHER_EXE) + "\" \"" +
                             folder.PathOf("mail.txt") + "\" \"%1\"");
    GameProcess game(folder);
    HWND main = EnterGame(game, "Aoi");
    ASSERT_NE(main, nullptr);

    PressKey(VK_F7);
    ASSERT_TRUE(WaitUntil([&] { return !folder.Read("mail.txt").empty(); }))
        << "the mail program was not started";
    const Bytes link = folder.Read("mail.txt");
    EXPECT_EQ(std::string(link.begin(), link.end()),
              "mailto:support@kesuka-soft.example?Subject=次のヴァージョンはいつ頃？");
    EXPECT_TRUE(InfoDialogRoundTrip(game, main));
    EXPECT_EQ(game.TopWindow(kDialogClass, kMailErrorCaption), nullptr);
}

TEST(Commands, SoundChoiceTakesEffectAtOnceAndDecidesTheHitSound)
{
    constexpr std::array<const char*, 6> kHitSounds = {"bane.wav", "raser.wav", "rock.wav",
                                                       "glass.wav", "gun.wav", "punch.wav"};
    GameFolder folder;
    auto soundsRead = [&] {
        std::string read;
        for (const char* sound : kHitSounds)
            if (folder.ReadSinceAged(sound))
                read += std::string(read.empty() ? "" : " ") + sound;
        return read;
    };
    auto ageSounds = [&] {
        for (const char* sound : kHitSounds)
            folder.AgeAccessTime(sound);
    };
    auto checkedButtons = [](HWND dialog) {
        std::string checked;
        for (int id = 1021; id <= 1026; ++id)
            if (SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED)
                checked += std::to_string(id) + " ";
        return checked;
    };

    ageSounds();
    GameProcess game(folder);
    HWND main = EnterGame(game, "Aoi");
    ASSERT_NE(main, nullptr);

    // A correct key plays the default sound.
    PostText(main, "o");
    EXPECT_TRUE(WaitUntil([&] { return soundsRead() == "bane.wav"; }))
        << "the first hit read: " << soundsRead();

    // The first look: バネバネー！ pressed in, the other five out. The run
    // started by the key goes on while the dialog is open.
    ASSERT_TRUE(BringToFront(main));
    PressKey(VK_F3);
    HWND sound = game.WaitForWindow(kDialogClass, kSoundTitle);
    ASSERT_NE(sound, nullptr) << "F3 opened no settings dialog";
    SaveScreenshot(sound, "first-look");
    EXPECT_EQ(checkedButtons(sound), "1021 ");
    EXPECT_TRUE(IsCentred(sound));
    const std::string title = WindowText(main);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) != title; }))
        << "the clock stopped while the dialog was open";
    EXPECT_TRUE(IsDigits(WindowText(main)));

    // ばきゅ～ん counts at once; Esc and the close box leave the dialog open.
    Click(sound, 1025);
    PressKey(VK_ESCAPE);
    PressCloseBox(sound);
    ASSERT_TRUE(SystemMenuRoundTrip(game, sound)) << "Esc or the close box closed the dialog";
    EXPECT_EQ(checkedButtons(sound), "1025 ");

    // The last click wins: 文字を倒せー！, then 設定完了(&X).
    Click(sound, 1021);
    Click(sound, 1023);
    ASSERT_TRUE(WaitUntil([&] { return checkedButtons(sound) == "1023 "; }));
    Click(sound, 1016);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sound); }));

    // Reopened, the dialog shows the choice; the next hit plays rock.wav.
    ASSERT_TRUE(BringToFront(main));
    PressKey(VK_F3);
    sound = game.WaitForWindow(kDialogClass, kSoundTitle);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(checkedButtons(sound), "1023 ");
    SaveScreenshot(sound, "rock-chosen");
    Click(sound, 1016);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sound); }));

    ageSounds();
    PostText(main, "h");
    EXPECT_TRUE(WaitUntil([&] { return soundsRead() == "rock.wav"; }))
        << "the hit after choosing rock.wav read: " << soundsRead();
}

}  // namespace
