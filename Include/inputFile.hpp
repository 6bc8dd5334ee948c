#pragma once
// Input files refused before they are opened: a directory, device, FIFO or socket would block the
// open or the read (a FIFO waits for a writer for ever) or never end (/dev/zero), so only regular
// files are read, and only up to a size far above any case.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnova {

// The largest input file read: 256 MiB. A geometry file of 600 elements holds about 50 KB and an
// element curve file of 600 elements under 1 MB, so only something that is no case file is refused.
inline constexpr std::uintmax_t inputFileLimit = 256u * 1024u * 1024u;

// Why `path` cannot be read as an input file ("is a directory, not a file", "is a FIFO, not a
// regular file", "is 300000000 bytes, more than the 268435456 an input file may hold"), or "" when
// it is a regular file within the limit or does not exist (the caller's own "not found" stands).
// Links are followed: a link to a regular file is read as that file. Nothing is opened.
std::string inputFileRefusal(std::string_view path);

// The same as a whole message naming the file ("/tmp/x.geo is a FIFO, not a regular file"), or "";
// control bytes of the path written as \xhh, the path never shortened.
std::string inputFileProblem(std::string_view path);

// A field for a message: control bytes and bytes that are no part of a UTF-8 character written
// as \xhh, and a text longer than 60 characters cut to its first 60, followed by
// "... (N characters)".
std::string shownText(std::string_view text);

// Why the directory part of a case path that could not be entered stops the program ("The
// directory /no/such does not exist"), or "" when it is empty or blank: a bare file name keeps the
// classic "Failed to change to directory" and the case is looked for where the program stands.
// Called after the change of directory failed, with errno as that call left it.
std::string caseDirectoryStop(std::string_view directory);

} // namespace tarnova
