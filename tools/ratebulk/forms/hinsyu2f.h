// HINSYU2F, the window of ratebulk2, and HINSYU1F, the same window of ratebulk1 without the
// kind-2 level: the start and end lists of the range, the twenty rate boxes, and 実行, 取消 and
// 終了. A rate is taken by Enter or Esc in its box, or by 実行 from the box a click or Tab left
// for it; a refused one stays selected in its box with the focus, with a message that says why.
#pragma once

#include <QLabel>
#include <QPushButton>

#include <array>
#include <vector>

#include "platform/qt/entry_box.h"
#include "platform/qt/list_box.h"
#include "platform/qt/listed_lines.h"
#include "platform/qt/tool_window.h"
#include "tools/ratebulk/core/rate_bulk.h"

namespace qd::ratebulk {

using qd::qt::EntryBox;
using qd::qt::ListBox;

class HINSYU2F : public qd::qt::ToolWindow {
    Q_OBJECT
public:
    // The window of ratebulk2 (kind2()) or of ratebulk1 (kind1()), as the state's kind says.
    explicit HINSYU2F(RateBulkState &g, QWidget *parent = nullptr);

    void Form_Load();

    void List2_Click();
    void List1_Click();
    void List3_Click();
    void List4_Click();
    void List7_Click();
    void List8_Click();
    void List6_Click();
    void List5_Click();
    void ListN_KeyDown(ListBox *list, int keyCode);
    void Command2_Click(); // 実行
    void Command4_Click(); // 取消
    void Command5_Click(); // 終了
    void RATE_TEXT_CLEAR();
    // The rate box of slot k = 1..20 (Text3 .. Text22).
    EntryBox *rateBox(int k) const { return m_rateBoxes.at(static_cast<std::size_t>(k - 1)); }

    RateBulkState &g;

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label17, *Label18, *Label19, *Label20, *Label21, *Label22;
    ListBox *List1, *List2, *List3, *List4 = nullptr, *List5 = nullptr, *List6, *List7, *List8;
    QPushButton *Command2, *Command4, *Command5;

private:
    bool isKind2() const { return g.KIND->kind == 2; }
    // The lists with the records behind their lines (ratebulk1 has no List4 and List5).
    qd::qt::ListedLines<RateLine> *choices(ListBox *list);
    void fill(ListBox *list, std::vector<RateLine> lines) { choices(list)->fill(std::move(lines)); }
    void clear(ListBox *list);
    const RateLine *chosen(ListBox *list) { return choices(list)->chosen(); }
    void showRates();
    bool takeRate(int k, const QString &typed);
    void rateLostFocus(int k);
    void endRefused(ListBox *list);
    bool eventFilter(QObject *watched, QEvent *event) override;

    std::array<EntryBox *, 20> m_rateBoxes{};
    std::array<qd::qt::ListedLines<RateLine>, 9> m_choices; // by list number
};

using HINSYU1F = HINSYU2F;

} // namespace qd::ratebulk
