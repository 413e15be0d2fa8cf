#include "course/phrase_table.h"

#include <algorithm>

// Each stage is eleven phrases and an end-of-stage slot (no romaji). The final
// slot has an empty romaji rather than none: a key there is a miss, not the end
// of a stage.
const PhraseTable kCourse{{
    // Stage 1
    {"ohayougozaimasu", "おはようございます"},
    {"konnnichiha", "こんにちは"},
    {"konnbannha", "こんばんは"},
    {"hisashiburidesune", "久しぶりですね"},
    {"chiyoppichiyoppi", "ちよっぴちよっぴ"},
    {"kiaihaitteiru?", "気合入っている"},
    {"saikinnchoushihadou?", "最近調子はどう？"},
    {"iichoushidayo", "いい調子だよ"},
    {"sorenishitemoiitennkidane", "それにしてもいい天気だね"},
    {"gennkigennki?", "元気元気？"},
    {"gannbatteirukai?", "頑張っているかい？"},
    {nullptr, "第一ステージ終了！"},
    // Stage 2
    {"gannbaruzo", "頑張るぞ"},
    {"kiaida", "気合だ"},
    {"bennkyougannbatte", "勉強頑張って"},
    {"sonoatoha", "その後は"},
    {"oishiibannmeshiga", "美味しい晩飯が"},
    {"matteiruyo", "待っているよ"},
    {"harahachibunnmenishite", "腹八分目にして"},
    {"yukkurikyuukeishiyou", "ゆっくり休憩しよう"},
    {"ko-hi-katateni", "コーヒー片手に"},
    {"shinnbunndemoyominagara", "新聞でも読みながら"},
    {"tanoshiihitotokidemosugosou", "楽しいひと時でも過ごそう"},
    {nullptr, "第二ステージ終了！"},
    // Stage 3
    {"kyuujituhananishiyoukana?", "休日は何しようかな？"},
    {"yapparidokusho?", "やっぱり読書？"},
    {"iyaiyaturideshou", "いやいや釣りでしょう"},
    {"ebidemotuttekurukana", "エビでも釣ってくるかな！"},
    {"kyouhatanoshiituritaikai", "今日は楽しい釣り大会"},
    {"ottokakattakana?", "おっと掛かったかな？"},
    {"yatta-turetatureta", "やったー釣れた釣れた"},
    {"tairyoudayo!", "大漁だよ！"},
    {"konnbannnookazuhaebinokaraageda", "今晩のオカズはエビの唐揚げだ"},
    {"jikainoturitaikaimogannbaruzo", "次回の釣り大会も頑張るぞ"},
    {"bennkyoumowasurezunigannbaruzo", "勉強も忘れずに頑張るぞ"},
    {nullptr, "第三ステージ終了！"},
    // Stage 4
    {"madagannbarunokai?", "まだ頑張るのかい？"},
    {"soushitarane", "そうしたらね"},
    {"jyu-sudemokattekitekurerukai?", "ジュースでも買って来てくれるかい？"},
    {"e?iyada?", "え？いやだ？"},
    {"yapparijibunnnokotohajibunndedane", "やっぱり自分の事は自分でだね"},
    {"satesate", "さてさて"},
    {"unndougateraittekoyou", "運動がてら行ってこよう"},
    {"aruiteikukahashitteikukadoushiyou", "歩いて行くか走って行くかどうしよう"},
    {"ikihaarukidekaerihahashirou", "行きは歩きで帰りは走ろう"},
    {"iiasekaitejyu-sumooishii", "いい汗かいてジュースも美味しい！"},
    {"matagannbaruzo", "また頑張るぞ"},
    {nullptr, "第四ステージ終了！"},
    // Stage 5
    {"saadaigosute-jihajimaruyo", "さあ第五ステージ始まるよ"},
    {"sorosoroyubimonaretekitakorodeshou", "そろそろ指も慣れて来た頃でしょう"},
    {"moutukaretekitatte?", "もう疲れて来たって？"},
    {"soudayone", "そうだよね"},
    {"konosute-jigaowattara", "このステージが終ったら"},
    {"tashoukyuukeishitahougaiikamone", "多少休憩したほうがいいかもね"},
    {"shikashiakiramechadamedayo", "しかし諦めちゃだめだよ"},
    {"gannbarebakanarazujibunnnochikaratonaruyo", "頑張れば必ず自分のチカラとなるよ"},
    {"demomurihashichadamedayo", "でも無理はしちゃだめだよ"},
    {"gyakukoukaninatteshimaukarane", "逆効果になってしまうからね"},
    {"keikakuwoshitegannbarou", "計画して頑張ろう"},
    {nullptr, "第五ステージ終了！"},
    // Stage 6
    {"kyouhakonnchuusaishuudemoshiyou", "今日は昆虫採集でもしよう"},
    {"agehachougatonndeiruyo", "アゲハ蝶が飛んでいるよ"},
    {"kabutomushitokuwagatamushi", "カブトムシとクワガタムシ"},
    {"tonosamabattattedonnnamushi?", "トノサマバッタってどんなムシ？"},
    {"iroironashuruinosemigairune", "色々な種類のセミがいるね"},
    {"arehatenntoumushidane", "あれはテントウムシだね"},
    {"kanabunnda", "カナブンだ"},
    {"ikenihayagoyamizukamakirigaitayo", "池にはヤゴや水カマキリがいたよ"},
    {"koorogimonakihajimetane", "コオロギも鳴き始めたね"},
    {"sorosorohotarugadetekurukorokana", "そろそろホタルが出てくる頃かな"},
    {"iroironakonnchuugairunndane", "色々な昆虫がいるんだね"},
    {nullptr, "第六ステージ終了！"},
    // Stage 7
    {"konnpyu-tanikannsuruyougodesu", "コンピュータに関する用語です"},
    {"ha-dodelisuku", "ハードディスク"},
    {"memori", "メモリ"},
    {"ki-bo-dotomausu", "キーボードとマウス"},
    {"cdromdoraibu", "CDROMドライブ"},
    {"furattomonita", "フラットモニタ"},
    {"maza-bo-do", "マザーボード"},
    {"ro-karuerianettowa-ku", "ローカルエリアネットワーク"},
    {"ta-minaruadaputa", "ターミナルアダプタ"},
    {"chuuouennzannshorisouchi", "中央演算処理装置"},
    {"gurafikkuakuserare-ta", "グラフィックアクセラレータ"},
    {nullptr, "第七ステージ終了！"},
    // Stage 8
    {"uminosakanawooboeyou", "海の魚を覚えよう"},
    {"iwashinomure", "イワシの群れ"},
    {"madaitohanadai", "マダイとハナダイ"},
    {"hiramasatoburi", "ヒラマサとブリ"},
    {"ikatotako", "イカとタコ"},
    {"unagitoanago", "ウナギとアナゴ"},
    {"katuotosaba", "カツオとサバ"},
    {"kareitohirame", "カレイとヒラメ"},
    {"mahazetodabohaze", "マハゼとダボハゼ"},
    {"wakashiinadawarasaburi", "ワカシいなだワラサぶり"},
    {"shusseuotteshitteiru?", "出世魚って知っている？"},
    {nullptr, "第八ステージ終了！"},
    // Stage 9
    {"saishuuraunndodayo", "最終ラウンドだよ"},
    {"kokomadekitara", "ここまで来たら"},
    {"kuriasurushikanaine", "クリアするしかないね"},
    {"saikoupoinntowodasou", "最高ポイントを出そう"},
    {"yarebadekiru", "やれば出きる"},
    {"kiminokotodayo", "君の事だよ"},
    {"saago-rugamietekimashita", "さあゴールが見えて来ました"},
    {"rasutosupa-to!", "ラストスパート！"},
    {"mousukoshidekannryoudayo", "もうすこしで完了だよ"},
    {"yokukokomadegannbattane", "よくここまで頑張ったね"},
    {"matanochousennwoomachishiteorimasu", "またの挑戦をお待ちしております"},
    {nullptr, "お疲れ様でした"},
    // The final slot
    {"", "お疲れ様でした"},
}};

PhraseTable phraseTable = kCourse;
PhraseBackup phraseBackup{};

void TakePhraseBackup()
{
    std::copy_n(phraseTable.begin(), phraseBackup.size(), phraseBackup.begin());
}

void RestoreStage(int stage)
{
    const int first = FirstSlotOfStage(stage);
    std::copy_n(phraseBackup.begin() + first, kSlotsPerStage, phraseTable.begin() + first);
}
