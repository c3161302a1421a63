// Message boxes as the programs see them: the numbers of their buttons and answers, and their
// text, whose two sentences are joined by LF CR LF CR (shown as an empty line between them).
#pragma once

#include <string>
#include <string_view>

namespace qd::text {

// The buttons of a message box and the answers it gives, by the numbers the programs keep
// (MSG_ANS) and compare.
namespace MessageButtons {
inline constexpr int Ok = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNo = 4;
} // namespace MessageButtons
namespace MessageAnswer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MessageAnswer

// What joins the two sentences of a message.
inline constexpr std::string_view TwoLinesBreak = "\n\r\n\r";

inline std::string twoLines(std::string_view first, std::string_view second)
{
    std::string text;
    text.reserve(first.size() + TwoLinesBreak.size() + second.size());
    text.append(first).append(TwoLinesBreak).append(second);
    return text;
}

} // namespace qd::text
