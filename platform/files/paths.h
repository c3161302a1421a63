// Mapping of the system's backslash paths onto the host file system.
//
// The programs build paths as texts such as "C:\tamo\tamo_dir.SSS" or INST_DIR & "\data\IRO.TXT".
// A drive "c:" (any letter case) maps to the folder driveCRoot() names. Other texts are host paths with "\" read as "/". Every component is
// matched without regard to letter case: an existing entry is found whatever the case of its
// name, and a new file takes the spelling given.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qd::files {

// The folder that drive "c:" stands for: the environment variable QUOTEDESK_DRIVE_C, read at
// every call, else ~/.quotedesk/drive_c. The variable is the one way to move drive "c:", for an
// installation and for tests alike (a test sets it, and the programs it starts inherit it).
std::filesystem::path driveCRoot();

// The host path for a system path, each existing component found regardless of letter case.
// Components that do not exist yet keep the spelling given.
std::filesystem::path hostPath(std::string_view systemPath);

// A host path written back in the system's own form (the text the programs show and store):
// separators stay "/" on this host; the value round-trips through hostPath.
std::string systemPath(const std::filesystem::path &host);

bool fileExists(std::string_view systemPath);
bool dirExists(std::string_view systemPath);
// Creates the folder (and its parents) when missing. Throws FileError on failure.
void makeDir(std::string_view systemPath);
// Deletes the file; a missing file is not an error. Throws FileError on failure.
void removeFile(std::string_view systemPath);

// The process's working folder ("ChDir"), as a host path.
void changeDir(std::string_view systemPath);
std::filesystem::path currentDir();

} // namespace qd::files
