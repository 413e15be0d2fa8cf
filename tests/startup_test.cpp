#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/startup.h"
#include "base/cp932.h"
#include "course/phrase_table.h"
#include "tests/scratch_dir.h"

namespace {

TEST(Startup, FileNamePartIsWhatFollowsTheLastRealBackslash)
{
    // ソ (0x83 0x5C) and 表 (0x95 0x5C) end in a byte that looks like a
    // backslash to a plain byte scan.
    const struct {
        const char *path, *name;
    } cases[] = {
        {"C:\\games\\Keyhaven.exe", "Keyhaven.exe"},  {"Keyhaven.exe", "Keyhaven.exe"},  {"C:\\games\\", ""},
        {"\\\\server\\share\\k.exe", "k.exe"},  {"C:\\ゲーム\\ソフト.exe", "ソフト.exe"},
        {"C:\\表\\a.exe", "a.exe"},  {"C:\\x\\表", "表"},
        {"C:\\x\\a\x83", "a\x83"},  // a lone lead byte at the end
    };
    for (const auto& c : cases) {
        // In a heap block of exactly its length, so that AddressSanitizer
        // catches a read past the end.
        const std::size_t size = std::strlen(c.path);
        const auto path = std::make_unique<char[]>(size);
        std::memcpy(path.get(), c.path, size);
        EXPECT_EQ(FileNamePart({path.get(), size}, IsCp932LeadByte), c.name) << c.path;
    }
    // A single-byte code page has no lead bytes: there 表's 0x5C is a backslash.
    EXPECT_EQ(FileNamePart("C:\\x\\表", [](unsigned char) { return false; }), "");
}

TEST(Startup, CopyIfFitsNeedsRoomForTheTerminator)
{
    char destination[8];
    std::memset(destination, 'x', sizeof destination);
    EXPECT_EQ(CopyIfFits("1234567", destination, 8), 7);
    EXPECT_STREQ(destination, "1234567");

    std::memset(destination, 'x', sizeof destination);
    EXPECT_EQ(CopyIfFits("12345678", destination, 8), 0);
    EXPECT_EQ(std::string(destination, sizeof destination), "xxxxxxxx");

    EXPECT_EQ(CopyIfFits("", destination, 1), 0);
    EXPECT_EQ(destination[0], '\0');
}

// A text that ends in a lone lead byte keeps it, and no byte more.
static_assert(FitCp932("ab\x81", 10) == 3);

TEST(Startup, PlayerNameIsCutToNinetyNineBytesOnACharacterBoundary)
{
    const std::string a98(98, 'a');
    const struct {
        std::string typed, stored;
    } cases[] = {
        {"たろう", "たろう"}, {"   ", "   "},  // blanks are a name like any other
        {std::string(99, 'n'), std::string(99, 'n')}, {std::string(120, 'n'), std::string(99, 'n')},
        {a98 + "あ", a98},  // a two-byte character that would end at byte 100
        {a98 + "z" + "あ", a98 + "z"}, {"", ""},
        // The edges of the two lead-byte ranges: a lead byte would end at
        // byte 100 with its trail byte, any other byte fits.
        {a98 + "\x80@", a98 + "\x80"}, {a98 + "\x81@", a98}, {a98 + "\x9F@", a98},
        {a98 + "\xA0@", a98 + "\xA0"}, {a98 + "\xDF@", a98 + "\xDF"}, {a98 + "\xE0@", a98},
        {a98 + "\xFC@", a98}, {a98 + "\xFD@", a98 + "\xFD"},
    };
    for (const auto& c : cases) {
        ResetGame();
        std::memset(game.playerName.data(), 'x', game.playerName.size());
        // Only an empty name is none: both front ends then ask again.
        EXPECT_EQ(StorePlayerName(c.typed), !c.stored.empty()) << c.typed.size() << " bytes typed";
        EXPECT_EQ(std::string(game.playerName.data()), c.stored) << c.typed.size() << " bytes typed";
    }
}

class Prepare : public ScratchDirTest {};

// The main window's creation loads both record files and chooses the first
// hit sound, so the first goal adds to what the files hold.
TEST_F(Prepare, LoadsBothRecordFilesAndTheDefaultSound)
{
    WriteBytes("Rank.dat", RankFile(2, "", {"a\n", "b\n"}));
    WriteBytes("Best.dat", BestFile(3, {{"Aoi", 7}, {"Ken", 5}, {"Mio", 3}}));
    PrepareGame();
    EXPECT_EQ((std::array{game.historyCount, game.bestCount, game.soundChoice}), (std::array{2, 3, 1}));
    EXPECT_STREQ(game.soundFile.data(), "bane.wav");
    EXPECT_EQ(phraseBackup[0].romaji, kCourse[0].romaji);
}

} // namespace
