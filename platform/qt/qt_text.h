// Text at the Qt edge: the forms hold Qt text, the core and the records UTF-8 std::string.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "platform/text/message_text.h"

namespace qd::qt {

// UTF-8 text as Qt text.
inline QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
// Qt text as UTF-8.
inline std::string ss(const QString &text) { return text.toStdString(); }

// The two sentences of a message (qd::text::twoLines) as Qt text.
inline QString twoLines(const QString &first, const QString &second)
{
    return qs(qd::text::twoLines(ss(first), ss(second)));
}

} // namespace qd::qt
