// Document names typed by the user become the names of the document's two files, so a name
// must be a plain file name: no folder parts, nothing the file system cannot hold.
#pragma once

#include <string>

namespace qd::forms {

// True when the (trimmed) name can name a document's files: not empty, no "\" or "/", no "..",
// none of : * ? " < > | and no control characters, and short enough for name + ".SSS".
bool isValidDocumentName(const std::string &name);

// The message shown for a name that cannot be used.
std::string invalidDocumentNameMessage();

} // namespace qd::forms
