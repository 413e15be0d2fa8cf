// Reads the resources back out of the built Keyhaven.exe, loaded as a data
// file, and checks them byte by byte: languages, the five dialog templates,
// the menu, the function keys, the icon, the logo and the version block.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

using ByteSpan = std::span<const std::uint8_t>;

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

// Walks resource data front to back. Reading past the end yields zeros and
// marks the reader as overrun, so a short resource fails its test instead of
// reading beyond it.
class Reader {
public:
    explicit Reader(ByteSpan bytes) : bytes_(bytes) {}

    std::uint32_t Get(std::size_t size)
    {
        std::uint32_t value = 0;
        if (pos_ + size > bytes_.size()) {
            overrun_ = true;
        } else {
            std::memcpy(&value, bytes_.data() + pos_, size);  // little-endian, as Windows is
        }
        pos_ += size;
        return value;
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Get(1)); }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Get(2)); }
    std::int16_t Short() { return static_cast<std::int16_t>(Get(2)); }
    std::uint32_t DWord() { return Get(4); }

    std::u16string Text()
    {
        std::u16string text;
        while (char16_t c = Word()) text += c;
        return text;
    }
    // A name or a number: 0xFFFF and a number is written as "#number".
    std::u16string NameOrNumber()
    {
        if (pos_ + 2 <= bytes_.size() && bytes_[pos_] == 0xFF && bytes_[pos_ + 1] == 0xFF) {
            Word();
            std::u16string number = u"#";
            for (char c : std::to_string(Word())) number += static_cast<char16_t>(c);
            return number;
        }
        return Text();
    }
    ByteSpan Take(std::size_t size)
    {
        const std::size_t start = pos_;
        pos_ += size;
        overrun_ |= pos_ > bytes_.size();
        return overrun_ ? ByteSpan{} : bytes_.subspan(start, size);
    }
    void Align4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }

    std::size_t Pos() const { return pos_; }
    bool Overrun() const { return overrun_; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

private:
    ByteSpan bytes_;
    std::size_t pos_ = 0;
    bool overrun_ = false;
};

// ---------------------------------------------------------------- languages

std::string NameOf(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name)) : name;
}

struct Found {
    std::string type, name;
    std::vector<WORD> languages;
};

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found)
{
    reinterpret_cast<Found*>(found)->languages.push_back(language);
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR all)
{
    Found found{NameOf(type), NameOf(name), {}};
    EnumResourceLanguagesA(module, type, name, AddLanguage, reinterpret_cast<LONG_PTR>(&found));
    reinterpret_cast<std::vector<Found>*>(all)->push_back(std::move(found));
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPSTR type, LONG_PTR all)
{
    EnumResourceNamesA(module, type, AddName, all);
    return TRUE;
}

TEST(Resources, ExeLoadsAsData)
{
    ASSERT_NE(Exe(), nullptr) << KEYHAVEN_EXE_PATH;
}

TEST(Resources, ExactlyTheGamesResourcesAllJapanese)
{
    std::vector<Found> all;
    EnumResourceTypesA(Exe(), AddType, reinterpret_cast<LONG_PTR>(&all));

    std::vector<std::pair<std::string, std::string>> names;
    for (const Found& found : all) {
        names.emplace_back(found.type, found.name);
        EXPECT_EQ(found.languages, std::vector<WORD>{0x0411}) << found.type << ' ' << found.name;
    }
    // Types by number: 3 icon image, 14 icon group, 2 bitmap, 4 menu,
    // 9 accelerators, 5 dialog, 16 version. No manifest or anything else.
    std::vector<std::pair<std::string, std::string>> expected = {
        {"#3", "#1"}, {"#3", "#2"}, {"#14", "MY_ICON"}, {"#2", "IDM_KD"},
        {"#4", "MY_MENU"}, {"#9", "MY_ACCEL"},
        {"#5", "MY_OPENING"}, {"#5", "MY_INFO"}, {"#5", "MY_REGIST"}, {"#5", "MY_GOAL"}, {"#5", "MY_RANK"},
        {"#16", "#1"},
    };
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

// ------------------------------------------------------------------ dialogs

constexpr std::uint32_t kText = 0x50020000;       // WS_CHILD|WS_VISIBLE|WS_GROUP|SS_LEFT
constexpr std::uint32_t kButton = 0x50010000;     // ... |WS_TABSTOP|BS_PUSHBUTTON
constexpr std::uint32_t kDefButton = 0x50010001;  // ... |WS_TABSTOP|BS_DEFPUSHBUTTON
constexpr std::uint32_t kSoundButton = 0x50001009;  // ... |BS_PUSHLIKE|BS_AUTORADIOBUTTON

struct Control {
    std::uint32_t id;
    std::u16string cls;
    std::uint32_t style, exStyle;
    int x, y, cx, cy;
    std::u16string text;
};

struct Dialog {
    const char* name;
    bool extended;
    std::uint32_t style;
    int cx, cy;
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
    Reader r(ResourceBytes(RT_DIALOG, want.name));
    ASSERT_FALSE(r.AtEnd()) << "no Japanese dialog " << want.name;

    std::uint32_t style, exStyle;
    std::size_t count;
    if (want.extended) {
        EXPECT_EQ(r.Word(), 1) << "version";
        EXPECT_EQ(r.Word(), 0xFFFF) << "signature";
        EXPECT_EQ(r.DWord(), 0u) << "help id";
        exStyle = r.DWord();
        style = r.DWord();
    } else {
        style = r.DWord();
        exStyle = r.DWord();
    }
    EXPECT_EQ(style, want.style);
    EXPECT_EQ(exStyle, 0u);
    count = r.Word();
    EXPECT_EQ(r.Short(), 0) << "x";
    EXPECT_EQ(r.Short(), 0) << "y";
    EXPECT_EQ(r.Short(), want.cx);
    EXPECT_EQ(r.Short(), want.cy);
    EXPECT_EQ(r.NameOrNumber(), u"") << "menu";
    EXPECT_EQ(r.NameOrNumber(), u"") << "class";
    EXPECT_EQ(r.Text(), want.title);
    EXPECT_EQ(r.Word(), 9) << "point size";
    if (want.extended) {
        EXPECT_EQ(r.Word(), 0) << "weight";
        EXPECT_EQ(r.Byte(), 0) << "italic";
        EXPECT_EQ(r.Byte(), 1) << "character set";
    }
    EXPECT_EQ(r.Text(), u"ＭＳ Ｐゴシック");

    ASSERT_EQ(count, want.controls.size());
    for (const Control& c : want.controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        r.Align4();
        if (want.extended) {
            EXPECT_EQ(r.DWord(), 0u) << "help id";
            EXPECT_EQ(r.DWord(), c.exStyle);
            EXPECT_EQ(r.DWord(), c.style);
        } else {
            EXPECT_EQ(r.DWord(), c.style);
            EXPECT_EQ(r.DWord(), c.exStyle);
        }
        EXPECT_EQ(r.Short(), c.x);
        EXPECT_EQ(r.Short(), c.y);
        EXPECT_EQ(r.Short(), c.cx);
        EXPECT_EQ(r.Short(), c.cy);
        EXPECT_EQ(want.extended ? r.DWord() : r.Word(), c.id);
        EXPECT_EQ(r.NameOrNumber(), c.cls);
        EXPECT_EQ(r.NameOrNumber(), c.text);
        EXPECT_EQ(r.Word(), 0) << "creation data";
    }
    EXPECT_FALSE(r.Overrun());
}

INSTANTIATE_TEST_SUITE_P(Resources, DialogTemplate, testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

// --------------------------------------------------------- menu, keys, icon

struct MenuLine {
    int depth;
    std::uint16_t flags;  // MF_POPUP or 0; the end marks are checked while parsing
    std::uint16_t id;
    std::u16string text;
    bool operator==(const MenuLine&) const = default;
};

void PrintTo(const MenuLine& line, std::ostream* out)
{
    *out << '{' << line.depth << ", " << line.flags << ", " << line.id << ", "
         << testing::PrintToString(line.text) << '}';
}

void ReadMenu(Reader& r, int depth, std::vector<MenuLine>& lines)
{
    std::uint16_t flags;
    do {
        flags = r.Word();
        const std::uint16_t id = (flags & MF_POPUP) ? 0 : r.Word();
        lines.push_back({depth, static_cast<std::uint16_t>(flags & ~MF_END), id, r.Text()});
        if (flags & MF_POPUP) ReadMenu(r, depth + 1, lines);
    } while (!(flags & MF_END) && !r.Overrun());
}

TEST(Resources, MenuHasTwoPopupsWithTheCommands)
{
    Reader r(ResourceBytes(RT_MENU, "MY_MENU"));
    EXPECT_EQ(r.Word(), 0) << "version";
    EXPECT_EQ(r.Word(), 0) << "header size";
    std::vector<MenuLine> lines;
    ReadMenu(r, 0, lines);
    const std::vector<MenuLine> expected = {
        {0, MF_POPUP, 0, u"メニュー(&M)"},
        {1, 0, 40007, u"設定\tF3"},
        {1, 0, 40006, u"ランキング！\tF4"},
        {1, 0, 1005, u"次のステージへ\tF5"},
        {1, 0, 40008, u"前のｽﾃｰｼﾞへ\tF6"},
        {1, 0, 40005, u"ケスカソフトウエアへメール送信\tF7"},
        {1, 0, 0, u""},
        {1, 0, 40004, u"ヴァージョン情報\tF1"},
        {1, 0, 40001, u"終了\tF8"},
        {0, MF_POPUP, 0, u"インフォメーション(&Q)"},
        {1, 0, 0, u""},
    };
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(r.Overrun());
    EXPECT_TRUE(r.AtEnd());
}

TEST(Resources, FunctionKeysF1ToF8InOrder)
{
    Reader r(ResourceBytes(RT_ACCELERATOR, "MY_ACCEL"));
    const std::uint16_t commands[] = {40004, 40010, 40007, 40006, 1005, 40008, 40005, 40001};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(testing::Message() << "F" << i + 1);
        // FVIRTKEY | FNOINVERT, and on the last entry the end mark 0x80.
        EXPECT_EQ(r.Word(), i == 7 ? 0x83 : 0x03);
        EXPECT_EQ(r.Word(), VK_F1 + i);
        EXPECT_EQ(r.Word(), commands[i]);
        r.Word();  // padding
    }
    EXPECT_FALSE(r.Overrun());
    EXPECT_TRUE(r.AtEnd());
}

TEST(Resources, IconGroupHoldsA32AndA16PixelImageOf16Colours)
{
    Reader group(ResourceBytes(RT_GROUP_ICON, "MY_ICON"));
    EXPECT_EQ(group.Word(), 0);
    EXPECT_EQ(group.Word(), 1) << "icon, not cursor";
    ASSERT_EQ(group.Word(), 2);
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(group.Byte(), size);
        EXPECT_EQ(group.Byte(), size);
        EXPECT_EQ(group.Byte(), 16) << "colours";
        EXPECT_EQ(group.Byte(), 0);
        EXPECT_EQ(group.Word(), 1) << "planes";
        EXPECT_EQ(group.Word(), 4) << "bits per pixel";
        const std::uint32_t length = group.DWord();
        const std::uint16_t id = group.Word();

        auto image = ResourceBytes(RT_ICON, MAKEINTRESOURCEA(id));
        EXPECT_EQ(image.size(), length);
        Reader header(image);
        EXPECT_EQ(header.DWord(), 40u);
        EXPECT_EQ(header.DWord(), std::uint32_t(size));
        EXPECT_EQ(header.DWord(), std::uint32_t(2 * size)) << "colour bits and mask";
        EXPECT_EQ(header.Word(), 1);
        EXPECT_EQ(header.Word(), 4);
        // 16 colours, 4-bit rows and 1-bit mask rows, each padded to 4 bytes.
        const std::size_t rowBytes = (size * 4 + 31) / 32 * 4, maskBytes = (size + 31) / 32 * 4;
        EXPECT_EQ(image.size(), 40 + 16 * 4 + size * (rowBytes + maskBytes));
        HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data()), image.size(), TRUE,
                                              0x00030000, size, size, 0);
        EXPECT_NE(icon, nullptr);
        if (icon) DestroyIcon(icon);
    }
    EXPECT_FALSE(group.Overrun());
}

TEST(Resources, LogoIsThe88By70Palette8BitDib)
{
    auto bytes = ResourceBytes(RT_BITMAP, "IDM_KD");
    ASSERT_EQ(bytes.size(), 7224u);
    Reader r(bytes);
    EXPECT_EQ(r.DWord(), 40u) << "header size";
    EXPECT_EQ(r.DWord(), 88u) << "width";
    EXPECT_EQ(r.DWord(), 70u) << "height, positive: rows bottom-up";
    EXPECT_EQ(r.Word(), 1) << "planes";
    EXPECT_EQ(r.Word(), 8) << "bits per pixel";
    EXPECT_EQ(r.DWord(), DWORD{BI_RGB});
    EXPECT_EQ(r.DWord(), 6160u) << "image size";
    EXPECT_EQ(r.DWord(), 0u) << "x resolution";
    EXPECT_EQ(r.DWord(), 0u) << "y resolution";
    EXPECT_EQ(r.DWord(), 0u) << "colours used: all 256";

    HBITMAP logo = static_cast<HBITMAP>(LoadImageA(Exe(), "IDM_KD", IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(logo, nullptr);
    BITMAP info{};
    GetObjectA(logo, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 88);
    EXPECT_EQ(info.bmHeight, 70);
    DeleteObject(logo);
}

// ------------------------------------------------------------ version block

// One node of a VS_VERSIONINFO tree: a key, a value and the nodes below it.
struct VersionNode {
    std::u16string key;
    std::uint16_t type;
    ByteSpan value;
    std::vector<VersionNode> children;

    std::u16string Text() const
    {
        std::u16string text(value.size() / 2, u'\0');
        std::memcpy(text.data(), value.data(), text.size() * 2);
        return text.substr(0, text.find(u'\0'));
    }
};

VersionNode ReadVersionNode(Reader& r)
{
    const std::size_t start = r.Pos();
    const std::size_t end = start + r.Word();
    const std::size_t valueLength = r.Word();
    VersionNode node;
    node.type = r.Word();
    node.key = r.Text();
    r.Align4();
    node.value = r.Take(node.type == 1 ? 2 * valueLength : valueLength);  // text counts in words
    r.Align4();
    while (r.Pos() < end && !r.Overrun()) node.children.push_back(ReadVersionNode(r));
    return node;
}

TEST(Resources, VersionBlock)
{
    Reader r(ResourceBytes(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO)));
    ASSERT_FALSE(r.AtEnd());
    const VersionNode root = ReadVersionNode(r);
    EXPECT_FALSE(r.Overrun());
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");

    ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root.value.data(), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0x00000002u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0x00000002u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed.dwFileFlags, 0u);
    EXPECT_EQ(fixed.dwFileOS, 0x40004u);
    EXPECT_EQ(fixed.dwFileType, DWORD{VFT_APP});
    EXPECT_EQ(fixed.dwFileSubtype, 0u);
    EXPECT_EQ(fixed.dwFileDateMS, 0u);
    EXPECT_EQ(fixed.dwFileDateLS, 0u);

    ASSERT_EQ(root.children.size(), 2u);
    const VersionNode& strings = root.children[0];
    EXPECT_EQ(strings.key, u"StringFileInfo");
    ASSERT_EQ(strings.children.size(), 1u);
    EXPECT_EQ(strings.children[0].key, u"041104b0");

    const std::pair<std::u16string, std::u16string> expected[] = {
        {u"Comments", u"さぁ、新記録をだそう！"},
        {u"CompanyName", u"ケスカ ソフトウエア デザイン"},
        {u"FileDescription", u"Keyhaven"},
        {u"FileVersion", u"1, 0, 0, 2"},
        {u"InternalName", u"Keyhaven"},
        {u"LegalCopyright", u"Copyright (C) ケスカ ソフトウエア デザイン"},
        {u"LegalTrademarks", u""},
        {u"OriginalFilename", u"Keyhaven.exe"},
        {u"PrivateBuild", u""},
        {u"ProductName", u"ぱたたん"},
        {u"ProductVersion", u"1, 0, 0, 2"},
        {u"SpecialBuild", u""},
    };
    const auto& entries = strings.children[0].children;
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].key, expected[i].first);
        EXPECT_EQ(entries[i].type, 1) << "text";
        EXPECT_EQ(entries[i].Text(), expected[i].second);
    }

    const VersionNode& vars = root.children[1];
    EXPECT_EQ(vars.key, u"VarFileInfo");
    ASSERT_EQ(vars.children.size(), 1u);
    EXPECT_EQ(vars.children[0].key, u"Translation");
    const ByteSpan value = vars.children[0].value;
    EXPECT_EQ(std::vector<std::uint8_t>(value.begin(), value.end()),
              (std::vector<std::uint8_t>{0x11, 0x04, 0xB0, 0x04}));  // 0x0411, 1200
}

}  // namespace
