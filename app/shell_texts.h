// The fixed texts of the application shell that every front end shows: the
// main window's title, the second copy's warning, the opening sound, the start
// message, the empty-name error, the close question and the mail link.
// Portable, so that the Windows program and the page spell them once.
#pragma once

#include <string>

// The main window's fixed title; a run's elapsed time replaces it on screen.
inline constexpr const char* kMainTitle = "ぱたたん！";

// One copy of the game at a time: the name it holds while it runs (a named
// mutex on Windows, a lock of the page's in the browser).
inline constexpr const char* kInstanceName = "Keyhaven";

// A second copy of the game says so, with its exe's name, and goes no further.
inline constexpr const char* kSecondCopyFormat = "%s は既に開いているよ！";
inline constexpr const char* kSecondCopyCaption = "二重起動！！";

// Played as the game starts, before the opening dialog.
inline constexpr const char* kOpeningSound = "opening.wav";

// Shown once the player has given a name, before the main window appears.
inline constexpr const char* kStartMessage =
    "表示されている '緑色'のアルファベットをタイピングし始めると、スタートします！\n"
    "　　尚、好ポイントは、ランキング上位に記録されますので、頑張って！";
inline constexpr const char* kStartCaption =
    "ぱたたんのスタート！！！　　緑色のアルファベットをタイプすると、始まるよぉ";

// The opening dialog's answer to a start without a name.
inline constexpr const char* kNameMissingMessage = "名前又はニックネームを入力して下さい";
inline constexpr const char* kNameMissingCaption = "タイピスト入力エラー";

inline constexpr const char* kCloseQuestion = "終了しますか？";

// The close question's caption names the game by its fixed title, not by the
// window's current text, which shows the elapsed time during a run.
inline std::string CloseQuestionCaption() { return std::string(kMainTitle) + "の終了"; }

// A new mail to the maker; the subject stays plain text in the link.
inline constexpr const char* kMailLink = "mailto:support@kesuka-soft.example?Subject=次のヴァージョンはいつ頃？";
