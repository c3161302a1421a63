// A main window for the document and sheet tests: it records messages and menus and writes the
// 25 column captions into row 0 of the current sheet as the real header set-up does.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "quotedesk/core/core_ui.h"
#include "quotedesk/core/qd_state.h"
#include "tests/support/temp_install.h"

namespace qd::core::sheet_test {

inline const std::array<const char *, 25> CAPTIONS = {
    "頁", "日付", "品名", "呼称", "Wﾐﾘ", "Hﾐﾘ", "Dﾐﾘ", "平米/立米単価", "色名", "数量", "単位", "率区分", "掛率",
    "定価", "単価", "金額", "備考", "原価率", "原価", "原価金額", "粗利額", "発注品番", "品番", "消費税率",
    "消費税額(端数処理後)"};

class ScriptUi : public NullCoreUi {
public:
    explicit ScriptUi(QdState &g) : m_g(g) {}

    std::vector<std::string> messages;
    std::deque<int> answers; // the answers to the next questions; Yes (or OK) once used up
    int beeps = 0;
    std::map<std::string, bool> menus;
    int captionSets = 0;
    std::vector<int> frame; // top, left, height, width
    bool rowsOption = false;

    void beep() override { ++beeps; }
    int msgBox(const std::string &text, int buttons) override
    {
        messages.push_back(text);
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    void setMenuEnabled(const std::string &name, bool enabled) override { menus[name] = enabled; }
    void showSheetFrame(int top, int left, int height, int width) override { frame = {top, left, height, width}; }
    void setEditAxisOption(bool rows) override { rowsOption = rows; }
    void KIHON_CAPTION_SET() override { ++captionSets; }
    void GRID_HEADER_SET() override
    {
        auto &grid = m_g.curGrid();
        for (int c = 0; c < 25; ++c) {
            grid.setCell(0, c, CAPTIONS[c]);
            grid.setColAlignment(c, qd::grid::Align::CenterCenter);
        }
    }

private:
    QdState &m_g;
};

// A state on a temporary install folder (demo data: 10 % tax), documents in data\TXT.
struct Desk {
    explicit Desk(qd::testing::TempInstall &inst) : ui(g)
    {
        g.ui = &ui;
        g.INST_DIR = inst.dir();
        g.DOC_DIR = inst.dir() + "\\data\\TXT";
    }
    QdState g;
    ScriptUi ui;
};

} // namespace qd::core::sheet_test
