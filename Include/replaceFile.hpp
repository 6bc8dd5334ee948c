#pragma once
// Whole-file writes that never leave a cut file and never write through a link: the bytes go to
// a fresh temporary beside the target (created with O_EXCL, so an existing name or link is never
// followed), are flushed and closed, and the temporary is renamed over the target. A target that
// is a symbolic link is replaced by the new file; the file it pointed to is left alone.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace tarnova {

// Writes `bytes` as the whole of `path`. On failure returns false, removes the temporary, leaves
// any old file as it was and, when `reason` is given, sets it to the system's reason
// (strerror of the failing call).
bool replaceFile(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

// The same for writers that stream into a FILE* (libpng, fprintf): `write` gets the temporary's
// stream and returns false when it failed; nothing is renamed then.
bool replaceFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                     std::string* reason = nullptr);

} // namespace tarnova
