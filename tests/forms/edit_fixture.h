// The main window with a new document open, and the edit tool window, for the tests of the
// sheet's edit commands. Selections are made as the user makes them (the grid raises its events,
// which keep the SEL_* globals).
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "quotedesk/sheet/hensyu_menu.h"
#include "tests/forms/forms_fixture.h"

namespace qd::testing {

// Sheet columns by caption.
namespace col {
constexpr int HIDUKE = 1, HINMEI = 2, KOSYO = 3, W = 4, H = 5, D = 6, M2_TANKA = 7, IRO = 8, SURYO = 9,
              TANI = 10, RITU_KBN = 11, KAKERITU = 12, TEIKA = 13, TANKA = 14, KINGAKU = 15, BIKO = 16,
              GENKA_RITU = 17, GENKA = 18, GENKA_KINGAKU = 19, ARARI = 20, HACHU = 21, HINBAN = 22,
              ZEI_RITU = 23, ZEI_GAKU = 24;
}

class EditFixture : public QuotedeskFixture {
protected:
    qd::forms::KIHON &openNew(const QString &name = QStringLiteral("編集見本"))
    {
        qd::forms::KIHON &k = app->hasKihon() ? app->kihon() : start();
        newDocument(k, name);
        return k;
    }
    qd::forms::HENSYU_MENU &tool() { return app->forms.get<qd::forms::HENSYU_MENU>(); }
    qd::grid::FlexGrid &sheet() { return g().curGrid(); }
    std::string cell(int r, int c) { return sheet().cell(r, c); }
    std::string trimmed(int r, int c) { return qd::text::trim(sheet().cell(r, c)); }

    // A drag from (row, col) to (rowSel, colSel).
    void select(int row, int col, int rowSel, int colSel) { sheet().select(row, col, rowSel, colSel); }
    // A click on a cell: the cell becomes the one the commands work on.
    void click(int row, int col)
    {
        sheet().select(row, col, row, col);
        sheet().raiseClick();
    }
    void fill(int row, std::initializer_list<std::pair<int, const char *>> cells)
    {
        for (const auto &[c, text] : cells)
            sheet().setCell(row, c, text);
    }
};

} // namespace qd::testing
