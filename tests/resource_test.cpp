// Reads the resources back out of the built Keyhaven.exe, loaded as a data
// file, and checks them byte by byte: languages, the manifest, the five dialog
// templates, the menu, the function keys, the icon, the logo and the version
// block; and that the exe carries no debug information.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

using ByteSpan = std::span<const std::uint8_t>;
using Values = std::vector<std::uint32_t>;

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

HMODULE Exe()
{
    struct Module {
        HMODULE handle = LoadLibraryExA(KEYHAVEN_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ~Module() { if (handle) FreeLibrary(handle); }
    };
    static Module module;
    return module.handle;
}

// The bytes of a resource as the game finds it, asking for Japanese; empty
// when there is none. The lookup may fall back to another language, which is
// why the languages are checked on their own.
ByteSpan ResourceBytes(LPCSTR type, LPCSTR name)
{
    HRSRC found = FindResourceExA(Exe(), type, name, kJapanese);
    if (!found) return {};
    auto data = static_cast<const std::uint8_t*>(LockResource(LoadResource(Exe(), found)));
    return {data, SizeofResource(Exe(), found)};
}

std::u16string Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

// Walks resource data front to back. Reading past the end yields zeros and
// marks the reader as overrun, so a short resource fails its test instead of
// reading beyond it.
struct Reader {
    ByteSpan bytes;
    std::size_t pos = 0;
    bool overrun = false;

    std::uint32_t Get(std::size_t size)
    {
        std::uint32_t value = 0;
        if (pos + size <= bytes.size())
            std::memcpy(&value, bytes.data() + pos, size);  // little-endian, as Windows is
        overrun |= pos + size > bytes.size();
        pos += size;
        return value;
    }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Get(2)); }
    // Several little fields at once, of the given sizes in bytes.
    Values Fields(const std::vector<int>& sizes)
    {
        Values values;
        for (int size : sizes)
            values.push_back(Get(size));
        return values;
    }
    std::u16string Text()
    {
        std::u16string text;
        while (char16_t c = Word()) text += c;
        return text;
    }
    // A name or a number: 0xFFFF and a number is written as "#number".
    std::u16string NameOrNumber()
    {
        if (Word() == 0xFFFF)
            return u"#" + Widen(std::to_string(Word()));
        pos -= 2;
        return Text();
    }
    ByteSpan Take(std::size_t size)
    {
        const std::size_t start = pos;
        pos += size;
        overrun |= pos > bytes.size();
        return overrun ? ByteSpan{} : bytes.subspan(start, size);
    }
    void Align4() { pos = (pos + 3) & ~std::size_t{3}; }
    bool AtEnd() const { return pos >= bytes.size(); }
};

// ---------------------------------------------------------------- languages

std::string NameOf(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name)) : name;
}

using Found = std::vector<std::pair<std::string, WORD>>;  // "type name" and a language

TEST(Resources, ExactlyTheGamesResourcesAllJapanese)
{
    ASSERT_NE(Exe(), nullptr) << KEYHAVEN_EXE_PATH;
    Found found;
    EnumResourceTypesA(Exe(), [](HMODULE exe, LPSTR type, LONG_PTR found) {
        return EnumResourceNamesA(exe, type, [](HMODULE exe, LPCSTR type, LPSTR name, LONG_PTR found) {
            return EnumResourceLanguagesA(exe, type, name,
                [](HMODULE, LPCSTR type, LPCSTR name, WORD language, LONG_PTR found) {
                    reinterpret_cast<Found*>(found)->emplace_back(NameOf(type) + ' ' + NameOf(name), language);
                    return TRUE;
                }, found);
        }, found);
    }, reinterpret_cast<LONG_PTR>(&found));
    // Types by number: 24 manifest, 3 icon image, 14 icon group, 2 bitmap,
    // 4 menu, 9 accelerators, 5 dialog, 16 version. Nothing else.
    Found expected;
    for (const char* name : {"#24 #1", "#3 #1", "#3 #2", "#14 MY_ICON", "#2 IDM_KD", "#4 MY_MENU", "#9 MY_ACCEL",
                             "#5 MY_OPENING", "#5 MY_INFO", "#5 MY_REGIST", "#5 MY_GOAL", "#5 MY_RANK", "#16 #1"})
        expected.emplace_back(name, 0x0411);
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
}

// ----------------------------------------------------------- manifest, file

// What the manifest tells Windows: start with the user's own rights, Windows 7,
// 8, 8.1 and 10/11 are known, no DPI scaling of its own but GDI's sharp text
// when Windows scales, code page 932 on any system language, classic controls.
// Each setting in its own namespace: Windows refuses a program whose manifest
// puts one in a namespace it does not know.
TEST(Resources, ManifestAsInvokerForWindows7To11DpiUnawareGdiScaledJapaneseClassicControls)
{
    const ByteSpan bytes = ResourceBytes(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    const std::string manifest(bytes.begin(), bytes.end());
    for (const char* part : {"level=\"asInvoker\"",
                             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
                             ">false</dpiAware>",
                             "<gdiScaling xmlns=\"http://schemas.microsoft.com/SMI/2017/WindowsSettings\">true</gdiScaling>",
                             "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">"
                             "ja-JP</activeCodePage>"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
}

// A stripped exe has no symbol table and no .debug_* sections. MinGW writes
// long section names as "/offset" into the string table after the symbols.
TEST(Resources, ExeHasNoDebugInformation)
{
    std::ifstream file(KEYHAVEN_EXE_PATH, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    Reader r{bytes};
    r.pos = 0x3C;
    r.pos = r.Get(4);
    ASSERT_EQ(r.Get(4), 0x4550u) << "PE signature";
    // Machine, sections, date, symbol table, symbols, optional header size.
    const Values coff = r.Fields({2, 2, 4, 4, 4, 2, 2});
    EXPECT_EQ(coff[3], 0u) << "symbol table";
    EXPECT_EQ(coff[4], 0u) << "symbols";
    const std::size_t strings = coff[3] + 18 * coff[4];
    r.pos += coff[5];
    for (std::uint32_t i = 0; i < coff[1]; ++i) {
        const ByteSpan header = r.Take(40);
        if (r.overrun) break;
        std::string name(header.begin(), std::find(header.begin(), header.begin() + 8, 0));
        if (name.starts_with('/') && coff[3] != 0) {
            Reader table{bytes, strings + std::stoul(name.substr(1))};
            name.clear();
            while (char c = static_cast<char>(table.Get(1))) name += c;
        }
        EXPECT_FALSE(name.starts_with(".debug") || name.starts_with('/')) << name;
    }
    EXPECT_FALSE(r.overrun);
}

// ------------------------------------------------------------------ dialogs

constexpr std::uint32_t kText = 0x50020000;       // WS_CHILD|WS_VISIBLE|WS_GROUP|SS_LEFT
constexpr std::uint32_t kButton = 0x50010000;     // ... |WS_TABSTOP|BS_PUSHBUTTON
constexpr std::uint32_t kDefButton = 0x50010001;  // ... |WS_TABSTOP|BS_DEFPUSHBUTTON
constexpr std::uint32_t kSoundButton = 0x50001009;  // ... |BS_PUSHLIKE|BS_AUTORADIOBUTTON

struct Control {
    std::uint32_t id;
    std::u16string cls;
    std::uint32_t style, exStyle, x, y, cx, cy;
    std::u16string text;
};

struct Dialog {
    const char* name;
    bool extended;
    std::uint32_t style, cx, cy;
    std::u16string title;
    std::vector<Control> controls;
};

const Dialog kDialogs[] = {
    {"MY_OPENING", false, 0x80C000C0, 343, 255,
     u"さぁ、みんなで、ぱたたん！　　～タイピングソフトウエア ／ver.0.0.2",
     {
         {1022, u"BUTTON", kDefButton, 0, 108, 81, 108, 23, u"始まるよぉ！！"},
         {1023, u"STATIC", kText, 0, 51, 18, 255, 14,
          u"タイピスト（あなた）のお名前を入力後、\"始まるよぉ！！\"ボタンを押して下さい"},
         {1024, u"STATIC", kText, 0, 65, 37, 247, 18,
          u"【ランキングの際に、使用しますので、ニックネームでも構いません】"},
         {1025, u"EDIT", 0x50810080, 0, 79, 55, 169, 14, u""},
         {1027, u"STATIC", kText, 0, 92, 234, 219, 17, u"Copyright (C) ケスカ ソフトウエア デザイン"},
         {1038, u"STATIC", kText, 0, 27, 119, 80, 67,
          u"【キーメニュー】　\nF1: ヴァージョン情報\nF3: 効果音設定\nF4: ランキング\n"
          u"F5: 次のステージへ\nF6: 前のステージへ\nF8: 終了"},
         {1039, u"STATIC", kText, 0, 129, 119, 204, 63,
          u"【操作方法】\nこのダイアログボックスの、\"始まるよぉ！！\"ボタンを押すと、\n"
          u"メイン画面が出ますので、先ず効果音(F3で設定)\nを選択して下さい。　\n"
          u"その後、画面に出ている緑色の最初の文字をタイピング\n(入力)する事により、スタートします。"},
         {1026, u"STATIC", kText, 0, 61, 197, 259, 25,
          u"今回は試作の為、出来が良くはありませんが、10月中にはDirectX8を使用し、\n"
          u"ゲーム感覚で出来るソフトウエアにします！"},
     }},
    {"MY_INFO", true, 0x80C800C0, 271, 71, u"Infomeation ",
     {
         {1000, u"BUTTON", kDefButton, 0, 208, 43, 50, 14, u"閉じる(&X)"},
         {1004, u"STATIC", 0x5002000E, 0x20, 13, 13, 20, 20, u"IDM_KD"},
         {1001, u"STATIC", kText, 0, 79, 27, 127, 11, u"Copyright (C) Kesuka Software Design"},
         {1002, u"STATIC", kText, 0, 79, 13, 114, 11, u"ぱたたん！　タイピングソフトウエア"},
         {1003, u"STATIC", kText, 0x1000, 78, 41, 104, 11, u"けすか"},
     }},
    {"MY_REGIST", false, 0x80C800C0, 306, 95, u"設定メニュー",
     {
         {1015, u"STATIC", kText, 0, 94, 15, 108, 13, u"効果音を設定出来るぞい！。"},
         {1016, u"BUTTON", kDefButton, 0, 241, 13, 50, 14, u"設定完了(&X)"},
         {1021, u"BUTTON", kSoundButton, 0, 13, 43, 89, 21, u"バネバネー！"},
         {1022, u"BUTTON", kSoundButton, 0, 110, 43, 89, 21, u"レーザーガンをぶっ放せ！"},
         {1023, u"BUTTON", kSoundButton, 0, 205, 43, 89, 21, u"文字を倒せー！"},
         {1024, u"BUTTON", kSoundButton, 0, 13, 66, 89, 21, u"ん？何の音？"},
         {1025, u"BUTTON", kSoundButton, 0, 110, 66, 89, 21, u"ばきゅ～ん"},
         {1026, u"BUTTON", kSoundButton, 0, 205, 66, 89, 21, u"ぼこぼこパンチ！"},
     }},
    {"MY_GOAL", false, 0x80C000C0, 295, 141, u"",
     {
         {1029, u"STATIC", kText, 0, 65, 18, 52, 11, u"総タイピング数："},
         {1030, u"STATIC", kText, 0, 145, 18, 90, 11, u""},
         {1031, u"STATIC", kText, 0, 65, 49, 52, 11, u"正　   解 　  率："},
         {1032, u"STATIC", kText, 0, 145, 49, 90, 11, u""},
         {1033, u"STATIC", kText, 0, 66, 69, 51, 11, u"所  要  時  間："},
         {1034, u"STATIC", kText, 0, 145, 69, 90, 11, u""},
         {1035, u"STATIC", kText, 0, 66, 88, 67, 11, u"1  文  字  当り："},
         {1036, u"STATIC", kText, 0, 145, 88, 90, 11, u""},
         {1037, u"BUTTON", kButton, 0, 122, 113, 74, 14, u"次のステージへ(&N)"},
         {1038, u"BUTTON", kButton, 0, 204, 113, 80, 14, u"とりあえず休憩 (&X)"},
         {1039, u"STATIC", kText, 0, 65, 30, 52, 11, u"ﾀｲﾋﾟﾝｸﾞ正解数："},
         {1040, u"STATIC", kText, 0, 145, 28, 90, 11, u""},
         {1044, u"BUTTON", kButton, 0, 12, 113, 105, 14, u"前のステージへ･･･再挑戦！(&N)"},
     }},
    {"MY_RANK", false, 0x80C800C0, 219, 229, u"ランキング ベスト５",
     {
         {1011, u"BUTTON", kDefButton, 0, 156, 15, 50, 14, u"閉じる(&X)"},
         {7001, u"STATIC", kText, 0, 19, 17, 99, 12, u"第1位 いないよぉ"},
         {7002, u"STATIC", kText, 0, 19, 33, 99, 12, u"第2位 いないよぉ"},
         {7003, u"STATIC", kText, 0, 19, 49, 99, 12, u"第3位 いないよぉ"},
         {7004, u"STATIC", kText, 0, 19, 65, 99, 12, u"第4位 いないよぉ"},
         {7005, u"STATIC", kText, 0, 19, 80, 99, 12, u"第5位 いないよぉ"},
         {1042, u"STATIC", kText, 0, 11, 123, 62, 12, u"総タイピング数："},
         {1043, u"STATIC", kText, 0, 11, 136, 61, 12, u"ﾀｲﾋﾟﾝｸﾞ正解数："},
         {1044, u"STATIC", kText, 0, 10, 148, 62, 12, u"正　   解 　  率："},
         {1045, u"STATIC", kText, 0, 12, 160, 61, 12, u"所  要  時  間："},
         {1046, u"STATIC", kText, 0, 11, 172, 59, 12, u"1  文  字  当り："},
         {1047, u"STATIC", kText, 0, 12, 111, 59, 12, u"た い ぴ す と："},
     }},
};

void PrintTo(const Dialog& dialog, std::ostream* out)
{
    *out << dialog.name;
}

class DialogTemplate : public testing::TestWithParam<Dialog> {};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX with its items and checks every field.
TEST_P(DialogTemplate, MatchesItsTable)
{
    const Dialog& want = GetParam();
    const bool ex = want.extended;
    Reader r{ResourceBytes(RT_DIALOG, want.name)};
    ASSERT_FALSE(r.AtEnd()) << "no Japanese dialog " << want.name;

    // [version, signature, help id,] styles; then items, x, y, cx, cy.
    EXPECT_EQ((ex ? r.Fields({2, 2, 4, 4, 4}) : r.Fields({4, 4})),
              (ex ? Values{1, 0xFFFF, 0, 0, want.style} : Values{want.style, 0}));
    const std::size_t count = r.Word();
    EXPECT_EQ(r.Fields({2, 2, 2, 2}), (Values{0, 0, want.cx, want.cy}));
    EXPECT_EQ(r.NameOrNumber(), u"") << "menu";
    EXPECT_EQ(r.NameOrNumber(), u"") << "class";
    EXPECT_EQ(r.Text(), want.title);
    // Point size[, weight, italic, character set], face.
    EXPECT_EQ((ex ? r.Fields({2, 2, 1, 1}) : r.Fields({2})), (ex ? Values{9, 0, 0, 1} : Values{9}));
    EXPECT_EQ(r.Text(), u"ＭＳ Ｐゴシック");

    ASSERT_EQ(count, want.controls.size());
    for (const Control& c : want.controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        r.Align4();
        // [help id,] styles, x, y, cx, cy, id: the id is a word in the old form.
        EXPECT_EQ((ex ? r.Fields({4, 4, 4, 2, 2, 2, 2, 4}) : r.Fields({4, 4, 2, 2, 2, 2, 2})),
                  (ex ? Values{0, c.exStyle, c.style, c.x, c.y, c.cx, c.cy, c.id}
                      : Values{c.style, c.exStyle, c.x, c.y, c.cx, c.cy, c.id}));
        EXPECT_EQ(r.NameOrNumber(), c.cls);
        EXPECT_EQ(r.NameOrNumber(), c.text);
        EXPECT_EQ(r.Word(), 0) << "creation data";
    }
    EXPECT_FALSE(r.overrun);
}

INSTANTIATE_TEST_SUITE_P(Resources, DialogTemplate, testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

// --------------------------------------------------------- menu, keys, icon

// The menu as lines indented by depth, each "popup" or the command id, then the text.
void ReadMenu(Reader& r, int depth, std::vector<std::u16string>& lines)
{
    std::uint16_t flags;
    do {
        flags = r.Word();
        EXPECT_EQ(flags & ~(MF_POPUP | MF_END), 0u) << "no other flags";
        const std::u16string head = (flags & MF_POPUP) ? u"popup" : Widen(std::to_string(r.Word()));
        lines.push_back(std::u16string(depth, u' ') + head + u' ' + r.Text());
        if (flags & MF_POPUP) ReadMenu(r, depth + 1, lines);
    } while (!(flags & MF_END) && !r.overrun);
}

TEST(Resources, MenuHasTwoPopupsWithTheCommands)
{
    Reader r{ResourceBytes(RT_MENU, "MY_MENU")};
    EXPECT_EQ(r.Fields({2, 2}), (Values{0, 0})) << "version, header size";
    std::vector<std::u16string> lines;
    ReadMenu(r, 0, lines);
    const std::vector<std::u16string> expected = {
        u"popup メニュー(&M)",
        u" 40007 設定\tF3",
        u" 40006 ランキング！\tF4",
        u" 1005 次のステージへ\tF5",
        u" 40008 前のｽﾃｰｼﾞへ\tF6",
        u" 40005 ケスカソフトウエアへメール送信\tF7",
        u" 0 ",
        u" 40004 ヴァージョン情報\tF1",
        u" 40001 終了\tF8",
        u"popup インフォメーション(&Q)",
        u" 0 ",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(r.overrun);
    EXPECT_TRUE(r.AtEnd());
}

TEST(Resources, FunctionKeysF1ToF8InOrder)
{
    Reader r{ResourceBytes(RT_ACCELERATOR, "MY_ACCEL")};
    const std::uint16_t commands[] = {40004, 40010, 40007, 40006, 1005, 40008, 40005, 40001};
    for (std::uint32_t i = 0; i < 8; ++i) {
        // FVIRTKEY | FNOINVERT (on the last entry with the end mark 0x80), key, command; padding.
        EXPECT_EQ(r.Fields({2, 2, 2}), (Values{i == 7 ? 0x83u : 0x03u, VK_F1 + i, commands[i]})) << "F" << i + 1;
        r.Word();
    }
    EXPECT_FALSE(r.overrun);
    EXPECT_TRUE(r.AtEnd());
}

TEST(Resources, IconGroupHoldsA32AndA16PixelImageOf16Colours)
{
    Reader group{ResourceBytes(RT_GROUP_ICON, "MY_ICON")};
    EXPECT_EQ(group.Fields({2, 2, 2}), (Values{0, 1, 2})) << "reserved, icon (not cursor), images";
    for (std::uint32_t size : {32, 16}) {
        SCOPED_TRACE(size);
        // Width, height, colours, reserved, planes, bits per pixel.
        EXPECT_EQ(group.Fields({1, 1, 1, 1, 2, 2}), (Values{size, size, 16, 0, 1, 4}));
        const std::uint32_t length = group.Get(4);
        auto image = ResourceBytes(RT_ICON, MAKEINTRESOURCEA(group.Word()));
        EXPECT_EQ(image.size(), length);
        // Header size, width, height of colour bits and mask, planes, bits per pixel.
        EXPECT_EQ(Reader{image}.Fields({4, 4, 4, 2, 2}), (Values{40, size, 2 * size, 1, 4}));
        // 16 colours, 4-bit rows and 1-bit mask rows, each padded to 4 bytes.
        const std::size_t rowBytes = (size * 4 + 31) / 32 * 4, maskBytes = (size + 31) / 32 * 4;
        EXPECT_EQ(image.size(), 40 + 16 * 4 + size * (rowBytes + maskBytes));
        HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), image.size(), TRUE,
                                              0x00030000, size, size, 0);
        EXPECT_NE(icon, nullptr);
        if (icon) DestroyIcon(icon);
    }
    EXPECT_FALSE(group.overrun);
}

TEST(Resources, LogoIsThe88By70Palette8BitDib)
{
    auto bytes = ResourceBytes(RT_BITMAP, "IDM_KD");
    ASSERT_EQ(bytes.size(), 7224u);
    // Header size, width, height (positive: rows bottom-up), planes, bits per
    // pixel, compression, image size, resolutions, colours used (0: all 256).
    EXPECT_EQ(Reader{bytes}.Fields({4, 4, 4, 2, 2, 4, 4, 4, 4, 4}),
              (Values{40, 88, 70, 1, 8, BI_RGB, 6160, 0, 0, 0}));
    HBITMAP logo = static_cast<HBITMAP>(LoadImageA(Exe(), "IDM_KD", IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(logo, nullptr);
    BITMAP info{};
    GetObjectA(logo, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 88);
    EXPECT_EQ(info.bmHeight, 70);
    DeleteObject(logo);
}

// ------------------------------------------------------------ version block

// Reads a VS_VERSIONINFO node and the nodes below it: their keys as lines
// indented by depth, a text value after "=", and every value by its key.
void ReadVersion(Reader& r, std::vector<std::u16string>& lines, std::map<std::u16string, ByteSpan>& values,
                 int depth = 0)
{
    const std::size_t end = r.pos + r.Word();
    const std::size_t valueLength = r.Word();
    const bool text = r.Word() == 1;
    const std::u16string key = r.Text();
    r.Align4();
    const ByteSpan value = values[key] = r.Take(text ? 2 * valueLength : valueLength);  // text counts in words
    r.Align4();
    lines.push_back(std::u16string(depth, u' ') + key + (text && !value.empty() ? u"=" + Reader{value}.Text() : u""));
    while (r.pos < end && !r.overrun)
        ReadVersion(r, lines, values, depth + 1);
}

TEST(Resources, VersionBlock)
{
    Reader r{ResourceBytes(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO))};
    ASSERT_FALSE(r.AtEnd());
    std::vector<std::u16string> lines;
    std::map<std::u16string, ByteSpan> values;
    ReadVersion(r, lines, values);
    EXPECT_FALSE(r.overrun);
    const std::vector<std::u16string> expected = {
        u"VS_VERSION_INFO",
        u" StringFileInfo",
        u"  041104b0",
        u"   Comments=さぁ、新記録をだそう！",
        u"   CompanyName=ケスカ ソフトウエア デザイン",
        u"   FileDescription=Keyhaven",
        u"   FileVersion=1, 0, 0, 2",
        u"   InternalName=Keyhaven",
        u"   LegalCopyright=Copyright (C) ケスカ ソフトウエア デザイン",
        u"   LegalTrademarks=",
        u"   OriginalFilename=Keyhaven.exe",
        u"   PrivateBuild=",
        u"   ProductName=ぱたたん",
        u"   ProductVersion=1, 0, 0, 2",
        u"   SpecialBuild=",
        u" VarFileInfo",
        u"  Translation",
    };
    EXPECT_EQ(lines, expected);
    Reader translation{values[u"Translation"]};
    EXPECT_EQ(translation.Fields({2, 2}), (Values{0x0411, 1200})) << "Japanese, Unicode";
    EXPECT_TRUE(translation.AtEnd());

    // Signature, structure version, file and product versions 1.0.0.2, flags
    // mask and flags, OS (NT, Win32), type (application), subtype, date.
    const ByteSpan fixed = values[u"VS_VERSION_INFO"];
    ASSERT_EQ(fixed.size(), sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(Reader{fixed}.Fields(std::vector<int>(13, 4)),
              (Values{0xFEEF04BD, 0x10000, 0x10000, 2, 0x10000, 2, 0x3F, 0, 0x40004, VFT_APP, 0, 0, 0}));
}

}  // namespace
