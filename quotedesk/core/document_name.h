// Document names become the names of the document's two files, and come from the user (input
// boxes, file dialogs) and from files (the folder-pointer record): every such name must be a plain
// file name, so that no name reaches a file outside the folder it is meant for.
#pragma once

#include <string>

namespace qd::core {

// True when the (trimmed) name can name a document's files: not empty, no "\" or "/", no "..",
// not beginning with "." (such files are hidden beside the program's lock and work files),
// none of : * ? " < > | and no control characters, and short enough for the longest file name
// the program builds from it (the PDF of a print, name + "_見積書.pdf"; the document files add
// ".SSS" or ".TXT"; the lock and work files beside them are shortened by the file layer).
bool isValidDocumentName(const std::string &name);

// The message shown for a name that cannot be used.
std::string invalidDocumentNameMessage();

} // namespace qd::core
