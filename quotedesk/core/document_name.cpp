#include "quotedesk/core/document_name.h"

#include <string_view>

#include "platform/text/cp932.h"
#include "platform/text/message_text.h"

namespace qd::core {

namespace {
constexpr std::size_t MAX_FILE_NAME_BYTES = 255; // of one file name on the host
// The longest name the program builds from a document name: the PDF of a print without a
// printer, "<name>_見積書.pdf" (the kind in three double-byte characters, 14 bytes in all); the
// document's own files add only ".SSS" and ".TXT".
constexpr std::size_t LONGEST_SUFFIX = std::string_view("_見積書.pdf").size();
constexpr std::string_view FORBIDDEN = "\\/:*?\"<>|";
} // namespace

bool isValidDocumentName(const std::string &name)
{
    const std::string n = qd::text::trim(name);
    if (n.empty() || n.size() + LONGEST_SUFFIX > MAX_FILE_NAME_BYTES)
        return false;
    // A name beginning with "." would give files this host hides from every list, among the
    // lock and work files the program keeps beside the documents.
    if (n.find("..") != std::string::npos || n.front() == '.')
        return false;
    for (const char ch : n) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || FORBIDDEN.find(ch) != std::string_view::npos)
            return false;
    }
    return true;
}

std::string invalidDocumentNameMessage()
{
    return qd::text::twoLines("この物件名はファイル名に使えません。",
                              "\\ / : * ? \" < > | と \"..\" を含まず、\".\" で始まらない名前（全角80文字まで）を入れて下さい！");
}

} // namespace qd::core
