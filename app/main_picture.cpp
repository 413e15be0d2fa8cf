#include "app/main_picture.h"

#include "base/game_state.h"
#include "course/phrase_table.h"

std::array<PictureLayer, 3> PaintMainPicture()
{
    game.phraseX += 5;
    const PhraseEntry& entry = phraseTable[game.entryIndex];
    return {{
        {200, 400, 0x9FFF38, {{{game.phraseX, 165, entry.romaji}}}},  // green
        {38, 400, 0xFA9664, {{{135, 120, entry.caption}}}},           // light blue
        {18, 700, 0x6464C8,                                          // dull red
         {{{110, 400, "F3：効果音設定　F4：ランキング　F5：次のステージ　F6：前のステージ･･再挑戦！"},
           {220, 455, "F7：ケスカソフトウエアデザインへメール！　F8：終了"}}}},
    }};
}
