// A main window for the pricing tests: it records what the core procedures put into the
// controls of KIHON.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "quotedesk/core/core_ui.h"
#include "quotedesk/core/qd_state.h"

namespace qd::core::pricing_test {

class RecordingUi : public NullCoreUi {
public:
    std::map<std::string, std::string> texts;
    std::map<std::string, std::vector<std::string>> combos;
    std::vector<int> pointers;

    std::map<std::string, bool> marked;
    void setControlText(const std::string &name, const std::string &text) override { texts[name] = text; }
    void setControlMarked(const std::string &name, bool m) override { marked[name] = m; }
    void comboClear(const std::string &name) override { combos[name].clear(); }
    void comboAddItem(const std::string &name, const std::string &text) override { combos[name].push_back(text); }
    void setMousePointer(int pointer) override { pointers.push_back(pointer); }
};

// A sheet of `rows` rows (row 0 captions) and the 25 columns, current slot 0.
inline void makeSheet(QdState &g, int rows = 1000)
{
    g.curGrid().setRows(rows);
    g.curGrid().setCols(25);
}

} // namespace qd::core::pricing_test
