// Records that travel between the page and the desktop game: the player saves
// the page's Rank.dat and Best.dat as files to put beside Keyhaven.exe, and
// loads the files of a desktop game folder into the page. Outside the game's
// own dialogs, through the links under the stage.
#include <emscripten.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/game_state.h"
#include "records/best_file.h"
#include "records/history_file.h"
#include "records/record_bytes.h"
#include "records/record_store.h"
#include "web/page.h"

namespace {

constexpr const char* kSaveCaption = "記録の保存";
constexpr const char* kLoadCaption = "記録の読み込み";

constexpr std::array<RecordFile, 2> kRecordFiles = {RecordFile::History, RecordFile::Best};

// The files the player chose to load, by the record file each one is, and
// the name of the first one that is none, if any.
std::array<std::optional<std::vector<unsigned char>>, 2> offered;
std::string notRecordFile;
bool offeredTwice = false;

std::size_t Index(RecordFile file) { return file == RecordFile::History ? 0 : 1; }

// Which record file `bytes` are: the sizes of the two kinds never agree on a
// count, so the bytes tell, whatever the browser named a downloaded copy.
std::optional<RecordFile> RecordFileOf(const std::vector<unsigned char>& bytes)
{
    if (IsHistoryFile(bytes))
        return RecordFile::History;
    if (IsBestFile(bytes))
        return RecordFile::Best;
    return std::nullopt;
}

// Adds a file's name to a list such as "Rank.dat と Best.dat".
void AddName(std::string& names, RecordFile file)
{
    names += (names.empty() ? "" : " と ") + std::string(RecordFileName(file));
}

std::string OfferedNames()
{
    std::string names;
    for (RecordFile file : kRecordFiles) {
        if (offered[Index(file)])
            AddName(names, file);
    }
    return names;
}

void ForgetOffered()
{
    offered = {};
    notRecordFile.clear();
    offeredTwice = false;
}

// Stores the offered files as they are and reads them in with the game's own
// loaders, as the desktop reads the files beside its exe.
void ReplaceWithOffered()
{
    std::string notKept;
    for (RecordFile file : kRecordFiles) {
        const auto& bytes = offered[Index(file)];
        if (!bytes)
            continue;
        if (ReplaceRecordFile(file, *bytes) != ReplaceResult::Replaced)
            AddName(notKept, file);
        if (file == RecordFile::History)
            LoadHistory();
        else
            LoadBest();
    }
    if (notKept.empty())
        PageMessageBox(OfferedNames() + " を読み込んだよ！", kLoadCaption, BoxStyle::Ok);
    else
        PageMessageBox(notKept + " を、ブラウザに残せなかったよ…\n"
                                 "ブラウザがこのサイトのデータを残せるようになっているか確かめてね。",
                       kLoadCaption, BoxStyle::OkWarning);
    ForgetOffered();
}

}  // namespace

extern "C" {

// Offers the record file of the page's storage as a download, byte for byte.
EMSCRIPTEN_KEEPALIVE void KeyhavenSaveRecordFile(const char* name)
{
    const RecordFile file = std::string_view(name) == RecordFileName(RecordFile::History) ? RecordFile::History
                                                                                          : RecordFile::Best;
    std::vector<unsigned char> bytes;
    switch (ReadRecordFile(file, bytes, kMaxRecordFileBytes)) {
    case ReadResult::Read:
        PageDownload(RecordFileName(file), bytes);
        break;
    case ReadResult::Missing:
        PageMessageBox("まだ " + std::string(RecordFileName(file)) +
                           " はないよ。\nステージを最後まで打つと、記録されるよ。",
                       kSaveCaption, BoxStyle::Ok);
        break;
    case ReadResult::Unreadable:
        PageMessageBox(std::string(RecordFileName(file)) + " を、ブラウザから読み出せなかったよ…", kSaveCaption,
                       BoxStyle::OkWarning);
        break;
    }
}

// One of the files the player chose to load: its name (code page 932) and
// its bytes, or a length of -1 for a file too large to be one.
EMSCRIPTEN_KEEPALIVE void KeyhavenOfferRecordFile(const char* name, int nameLength, const unsigned char* bytes,
                                                  int length)
{
    std::optional<RecordFile> file;
    std::vector<unsigned char> contents;
    if (length >= 0) {
        contents.assign(bytes, bytes + length);
        file = RecordFileOf(contents);
    }
    if (!file) {
        if (notRecordFile.empty())
            notRecordFile.assign(name, static_cast<std::size_t>(nameLength));
        return;
    }
    offeredTwice = offeredTwice || offered[Index(*file)].has_value();
    offered[Index(*file)] = std::move(contents);
}

// The chosen files are all offered. Only record files are loaded, and only
// when every chosen file is one; results already in the page are replaced
// only when the player says so.
EMSCRIPTEN_KEEPALIVE void KeyhavenLoadOfferedRecordFiles()
{
    if (!notRecordFile.empty()) {
        PageMessageBox(notRecordFile + " は、ぱたたんの記録ファイルではないみたい…\n何も置き換えていないよ。",
                       kLoadCaption, BoxStyle::OkWarning);
        ForgetOffered();
        return;
    }
    if (offeredTwice) {
        PageMessageBox("同じ記録ファイルを二つ選んでいるよ…\n何も置き換えていないよ。", kLoadCaption,
                       BoxStyle::OkWarning);
        ForgetOffered();
        return;
    }
    if (OfferedNames().empty())
        return;
    if (game.historyCount == 0 && game.bestCount == 0) {
        ReplaceWithOffered();
        return;
    }
    PageMessageBox("ブラウザにある今の記録を、" + OfferedNames() + " の記録で置き換えますか？", kLoadCaption,
                   BoxStyle::YesNo, [](bool yes) {
                       if (yes)
                           ReplaceWithOffered();
                       else
                           ForgetOffered();
                   });
}

}  // extern "C"
