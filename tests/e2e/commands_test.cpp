// The commands behind F1, F3 and F7: the information dialog, the hit-sound
// settings and the mail link.
#include "tests/e2e/game_test.h"

namespace {

class Commands : public GameTest {};

constexpr const char* kSoundTitle = "設定メニュー";
constexpr const char* kMailErrorCaption = "ｵｰﾌﾟﾝｴﾗｰ";
constexpr const char* kMailtoKey = "Software\\Classes\\mailto";
constexpr const char* kSavedKey = "Software\\KeyhavenE2E-mailto";

// Moves every handler of mailto: links aside for one test (so that no mail
// program is registered) and puts them back afterwards. (Copied, not renamed:
// RegRenameKey there brings Wine 8's wineserver down.)
class MailtoHandlers {
public:
    MailtoHandlers() { Move(kMailtoKey, kSavedKey); }
    ~MailtoHandlers()
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kMailtoKey);
        Move(kSavedKey, kMailtoKey);
    }

    // Registers a mail program of the test's own.
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
    static void Move(const char* from, const char* to)
    {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            HKEY source = nullptr, target = nullptr;
            if (RegOpenKeyExA(root, from, 0, KEY_READ, &source) != ERROR_SUCCESS)
                continue;
            RegCreateKeyExA(root, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr);
            RegCopyTreeA(source, nullptr, target);
            RegCloseKey(source);
            RegCloseKey(target);
            RegDeleteTreeA(root, from);
        }
    }
};

TEST_F(Commands, InformationDialogClosesOnlyWithItsButton)
{
    ASSERT_TRUE(Start());
    HWND info = OpenWithKey(game, main, VK_F1, kInfoTitle);
    ASSERT_NE(info, nullptr) << "F1 opened no dialog titled \"Infomeation \"";
    SaveScreenshot(info, "information");
    EXPECT_EQ(GetWindow(info, GW_OWNER), main);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the information dialog is not modal";
    EXPECT_TRUE(IsCentred(info));
    EXPECT_EQ(ControlText(info, IDC_INFO_PRODUCT), "ぱたたん！　タイピングソフトウエア");
    ASSERT_TRUE(IgnoresEscAndCloseBox(game, info)) << "Esc or the close box closed the dialog";
    ASSERT_TRUE(Dismiss(info, 1000)) << "\"閉じる(&X)\" did not close it";
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(Commands, MailSaysSoWithoutAMailProgramAndOtherwiseHandsItTheLink)
{
    MailtoHandlers noHandlers;
    ASSERT_TRUE(Start());
    PressKey(VK_F7);
    HWND error = game.WaitForWindow(kDialogClass, kMailErrorCaption);
    ASSERT_NE(error, nullptr) << "F7 without a mail program showed no error";
    SaveScreenshot(error, "mail-error");
    EXPECT_EQ(MessageBoxText(error), "メールソフトを開く事が出来ませんねぇ");
    EXPECT_EQ(GetWindow(error, GW_OWNER), main);
    EXPECT_FALSE(ShowsIcon(error));
    ASSERT_TRUE(Dismiss(error, IDOK));
    ASSERT_TRUE(InfoDialogRoundTrip(game, main)) << "the game did not go on after the error";

    MailtoHandlers::Register("\"" + WindowsPath(MAIL_CATCHER_EXE) + "\" \"" +
                             folder.PathOf("mail.txt") + "\" \"%1\"");
    PressKey(VK_F7);
    ASSERT_TRUE(WaitUntil([&] { return !folder.Read("mail.txt").empty(); }))
        << "the mail program was not started";
    const Bytes link = folder.Read("mail.txt");
    EXPECT_EQ(std::string(link.begin(), link.end()),
              "mailto:support@kesuka-soft.example?Subject=次のヴァージョンはいつ頃？");
    EXPECT_TRUE(InfoDialogRoundTrip(game, main));
    EXPECT_EQ(game.TopWindow(kDialogClass, kMailErrorCaption), nullptr);
}

TEST_F(Commands, SoundChoiceTakesEffectAtOnceAndDecidesTheHitSound)
{
    constexpr std::array<const char*, 6> kHitSounds = {"bane.wav", "raser.wav", "rock.wav",
                                                       "glass.wav", "gun.wav", "punch.wav"};
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
    ASSERT_TRUE(Start());
    // A correct key plays the default sound.
    PostText(main, "o");
    EXPECT_TRUE(WaitUntil([&] { return soundsRead() == "bane.wav"; }))
        << "the first hit read: " << soundsRead();

    // The first look: バネバネー！ pressed in, the other five out. The run
    // started by the key goes on while the dialog is open.
    HWND sound = OpenWithKey(game, main, VK_F3, kSoundTitle);
    ASSERT_NE(sound, nullptr) << "F3 opened no settings dialog";
    SaveScreenshot(sound, "first-look");
    EXPECT_EQ(checkedButtons(sound), "1021 ");
    EXPECT_TRUE(IsCentred(sound));
    const std::string title = WindowText(main);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main) != title && IsDigits(WindowText(main)); }))
        << "the clock stopped while the dialog was open";

    // ばきゅ～ん counts at once; Esc and the close box leave the dialog open.
    Click(sound, 1025);
    ASSERT_TRUE(IgnoresEscAndCloseBox(game, sound)) << "Esc or the close box closed the dialog";
    EXPECT_EQ(checkedButtons(sound), "1025 ");

    // The last click wins: 文字を倒せー！, then 設定完了(&X).
    Click(sound, 1021);
    Click(sound, 1023);
    ASSERT_TRUE(WaitUntil([&] { return checkedButtons(sound) == "1023 "; }));
    ASSERT_TRUE(Dismiss(sound, IDC_SOUND_DONE));

    // Reopened, the dialog shows the choice; the next hit plays rock.wav.
    sound = OpenWithKey(game, main, VK_F3, kSoundTitle);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(checkedButtons(sound), "1023 ");
    SaveScreenshot(sound, "rock-chosen");
    ASSERT_TRUE(Dismiss(sound, IDC_SOUND_DONE));
    ageSounds();
    PostText(main, "h");
    EXPECT_TRUE(WaitUntil([&] { return soundsRead() == "rock.wav"; }))
        << "the hit after choosing rock.wav read: " << soundsRead();
}

}  // namespace
