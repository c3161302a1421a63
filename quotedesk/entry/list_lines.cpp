#include "quotedesk/entry/list_lines.h"

namespace qd::forms {

void addLine(ListBox *list, const qd::entry::ListLine &line)
{
    list->addLine(QString::fromStdString(line.text), QVariant::fromValue(line));
}

qd::entry::ListLine lineAt(const ListBox *list, int index)
{
    const QVariant data = list->lineData(index);
    return data.canConvert<qd::entry::ListLine>() ? data.value<qd::entry::ListLine>() : qd::entry::ListLine{};
}

} // namespace qd::forms
