// The files of one folder whose names match a pattern, such as the set files "SET*.TXT" or the
// kind files "HISYU1*.TXT" of the data folder, in the ascending order of the sorted lists.
//
// A pattern holds "*" (any run of characters) and "?" (any one character); several patterns are
// separated by ";". Names match without regard to the letter case of ASCII letters, since the
// system names one file "SET00001.TXT" and another "set00002.txt". Only ordinary files are
// listed: no folders, and no hidden files (names beginning with ".", such as the lock files).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qd::files {

// Whether a file name matches the pattern (or one of the ";"-separated patterns).
bool fileNameMatches(std::string_view name, std::string_view pattern);
// The names (without folder) of the files in the folder (a system path) that match the pattern,
// ascending in the order of the sorted lists. A missing folder lists nothing.
std::vector<std::string> filesInFolder(std::string_view folder, std::string_view pattern);

} // namespace qd::files
