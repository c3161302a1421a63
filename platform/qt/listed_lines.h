// The lines of a list box together with what each stands for (a record and its number, say),
// kept beside the list: each line's value is its place in `lines`, so a handler takes back what
// the chosen line stands for and never reads it out of the line's text. Sorting the list, or
// lines that look alike, changes nothing of that.
#pragma once

#include <QString>

#include <string>
#include <utility>
#include <vector>

#include "platform/qt/list_box.h"

namespace qd::qt {

// `Line` has a `std::string text` (UTF-8): what the list shows.
template <class Line>
class ListedLines {
public:
    explicit ListedLines(ListBox *list = nullptr) : m_list(list) {}
    void attach(ListBox *list) { m_list = list; }
    ListBox *list() const { return m_list; }

    // The list shows `lines` (in its own order when it is sorted); the choice is cleared.
    void fill(std::vector<Line> lines)
    {
        m_lines = std::move(lines);
        std::vector<ListBoxLine> shown;
        shown.reserve(m_lines.size());
        for (std::size_t i = 0; i < m_lines.size(); ++i)
            shown.push_back({QString::fromStdString(m_lines[i].text), static_cast<int>(i)});
        m_list->clearLines();
        m_list->addLines(shown);
    }
    void clear()
    {
        m_list->clearLines();
        m_lines.clear();
    }
    // What line `index` of the list stands for; nullptr for an index out of range.
    const Line *at(int index) const
    {
        if (index < 0 || index >= m_list->lineCount())
            return nullptr;
        const int i = m_list->lineData(index).toInt();
        return i >= 0 && i < static_cast<int>(m_lines.size()) ? &m_lines[static_cast<std::size_t>(i)] : nullptr;
    }
    // What the chosen line stands for; nullptr when none is chosen.
    const Line *chosen() const { return at(m_list->listIndex()); }

private:
    ListBox *m_list;
    std::vector<Line> m_lines;
};

} // namespace qd::qt
