#pragma once

#include "download/upSet.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

class TStream;

enum class TupFileAttribute {
    atrArchive,
    atrHidden,
    atrReadOnly,
    atrSystem,
    atrTemporary,
    atrOffline
};
using TupFileAttributes = TSet<TupFileAttribute>;

// The value WaitForSignal leaves in its event variable once the wait is over.
using TSignalEvent = std::uintptr_t;
inline constexpr TSignalEvent kInvalidSignalEvent = ~TSignalEvent(0);

// A point in time counted in days since 1899-12-30 00:00, the fraction being the time of day;
// 0 stands for "no date".
using TDateTime = double;

// Date and time of day as a TDateTime; false for an impossible date or time.
bool TryEncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second,
                       TDateTime& Value);

// The text after the last "/", "\" or ":" (the whole text when there is none).
std::string ExtractURLFileName(std::string_view Text);

// Done as a whole percentage of Total, halves rounded to even; 0 when Total is 0 or the result
// does not fit a byte.
std::uint8_t Percent(long double Total, long double Done);

// Reads the three HTTP date forms (RFC 1123, RFC 850, asctime), with "GMT" or a numeric zone
// such as +0800, and gives local time using the time-zone bias in effect now; 0 when unreadable.
TDateTime ParseHTTPDate(std::string_view Text);

// The local time-zone bias now, in days (universal time minus local time).
double TimeZoneBias();

// Compares two four-part dotted versions; falls back to a byte-wise comparison of the whole
// texts when a part is not a number. Positive when A is newer.
std::int8_t VersionCompare(std::string_view A, std::string_view B);

// Splits a shell command into the program and its parameters, both trimmed.
void SplitCommandLine(std::string& Command, std::string& Parameters);

// Sets the file's attributes (an empty set clears them); false when that fails.
bool ApplyFileAttributes(const std::string& FileName, const TupFileAttributes& Attributes);

// Sets the times that are not -1, at two-second resolution and taken as universal time; the
// creation time cannot be set on Linux and is ignored. False when the file cannot be written.
bool SetFileTimes(const std::string& FileName, TDateTime CreationTime, TDateTime LastWriteTime,
                  TDateTime LastAccessTime);

// The size of an existing file, or -1.
std::int64_t GetFileSize64(const std::string& FileName);

bool FolderExists(const std::string& Path);

// $TMPDIR (else /tmp) with a trailing "/"; the program's folder when that does not exist.
std::string TempFolder();

// Opens URL ("http://" + URL when it has no "://") in the default browser; with
// UseHtmlHandler in the program that opens .html files, when there is one.
void OpenURL(const std::string& URL, bool UseHtmlHandler);

// The program that opens files with this extension (".html"); empty when there is none.
std::string ShellOpenCommand(const std::string& Extension);

// Whether the machine has a network address other than loopback.
bool IsOnline();
bool HasNetworkAddress();

// Writes the resource Name of type ResourceType compiled into the program to Stream; false
// when there is no stream, no such resource, it is empty, or writing fails.
bool SaveResourceToStream(const std::string& Name, const std::string& ResourceType,
                          TStream* Stream);

// Closes the application's windows and tells it to terminate.
void CloseApplication();

// Waits, processing the application's events, until Signal(Event) is called, TimeoutMs
// passes (0 = without limit) or, with StopWhenTerminating, the application is told to
// terminate. Event holds the wait's handle meanwhile and kInvalidSignalEvent afterwards.
void WaitForSignal(TSignalEvent& Event, int TimeoutMs, bool StopWhenTerminating);
// Ends the wait Event stands for; does nothing when no wait is going on.
void Signal(TSignalEvent& Event);

} // namespace quorvex
