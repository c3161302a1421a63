// The text of a message box: its two sentences are joined by LF CR LF CR, which the message box
// shows as an empty line between them.
#pragma once

#include <string>
#include <string_view>

namespace qd::text {

inline std::string twoLines(std::string_view first, std::string_view second)
{
    std::string text;
    text.reserve(first.size() + 4 + second.size());
    text.append(first).append("\n\r\n\r").append(second);
    return text;
}

} // namespace qd::text
