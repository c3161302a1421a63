// Rewriting a master or document file safely: the new content goes to a work copy in the same
// folder, is flushed to disk, and the work copy is renamed over the master. A failure at any
// step leaves the master as it was and removes the work copy.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/files/record_file.h"

namespace qd::files {

// Writes the work copy `workSystemPath` (created new and empty, record length `length`)
// through `fill`, flushes it and renames it over `masterSystemPath`. Throws FileError (the
// master untouched, the work copy removed) when any step fails, also when `fill` throws.
void replaceThroughWorkCopy(std::string_view masterSystemPath, std::string_view workSystemPath,
                            std::int32_t length, const std::function<void(RecordFile &)> &fill);

// The same for a whole file's bytes, with a hidden temporary work copy beside the target.
void writeFileSafely(std::string_view systemPath, std::string_view bytes);

// Test hook: when set, called before the rename of every replace; a throw from it is a
// failure of the replace (so tests can simulate a full disk at the last step).
void setBeforeRenameHook(std::function<void(const std::filesystem::path &work)> hook);

} // namespace qd::files
