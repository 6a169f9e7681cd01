#pragma once

#include "upgrader/upFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// Ids of the texts that are the same in every language.
inline constexpr int kAppTitlePlaceholderId = 40997;
inline constexpr int kUnsetAppTitleMarkerId = 40998;
inline constexpr int kUpgraderNameId = 40999;

// The entries of a message table, by what they are used for.
namespace upmsg {
inline constexpr int kCaption = 0;
inline constexpr int kDownloadingTitle = 1;
inline constexpr int kCompletedTitle = 2;
inline constexpr int kCurrentFile = 3;
inline constexpr int kAllFiles = 4;
inline constexpr int kDownloadingFrom = 5;
inline constexpr int kFileSize = 6;
inline constexpr int kTransferRate = 7;
inline constexpr int kTimeLeft = 8;
inline constexpr int kDownloadingOf = 9;
inline constexpr int kCompletedNote = 10;
inline constexpr int kPasswordCaption = 11;
inline constexpr int kUserName = 12;
inline constexpr int kPassword = 13;
inline constexpr int kYes = 14;
inline constexpr int kNo = 15;
inline constexpr int kOK = 16;
inline constexpr int kCancel = 17;
inline constexpr int kNext = 18;
inline constexpr int kLater = 19;
inline constexpr int kWarning = 20;
inline constexpr int kError = 21;
inline constexpr int kPreparing = 22;
inline constexpr int kNewerVersion = 23;
inline constexpr int kNoNewerVersion = 24;
inline constexpr int kNoInfoFile = 25;
inline constexpr int kHostUnreachable = 26;
inline constexpr int kAbortQuestion = 27;
inline constexpr int kLostFile = 28;
inline constexpr int kPasswordRequest = 29;
inline constexpr int kConnectionLost = 30;
} // namespace upmsg

// The entries of one message table data file ("N=text" lines, "\n" a line feed, "\\" a
// backslash, "#" lines comments), checked to hold entries 0 to Count - 1 exactly once.
// Raises quorvex::Exception, naming the table and the line, on anything else.
std::vector<std::string> ParseMessageTable(std::string_view Name, std::string_view Data, int Count);

// The text with this string id from the tables compiled into the program; empty when there
// is none.
const std::string& LoadUpgraderString(int Id);

// Entry N of the chosen table, and the same filled with arguments.
std::string UpgraderText(int Entry);
std::string UpgraderFormat(int Entry, std::initializer_list<TFormatArgument> Args);

} // namespace quorvex
