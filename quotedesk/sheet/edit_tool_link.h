// What the main window and the sheet procedures ask of the edit tool window HENSYU_MENU: its
// value box, its row/column option and its store-widths button. HENSYU_MENU implements it.
#pragma once

#include <QString>

namespace qd::forms {

class EditToolWindow {
public:
    virtual ~EditToolWindow() = default;

    // Text of the value box Text3.
    virtual void setValueText(const QString &text) = 0;
    // Option1 "行" (true) or Option2 "列" (false) chosen; choosing Option1 when it was not chosen
    // runs its click.
    virtual void setRowsOption(bool rows) = 0;
    // Command3 "巾記憶" (store the widths of the chosen-columns set).
    virtual void setStoreWidthsEnabled(bool enabled) = 0;
    virtual bool storeWidthsEnabled() const = 0;
};

// Keeps the values while the real window is not built into the program.
class EditToolStandIn : public EditToolWindow {
public:
    void setValueText(const QString &text) override { valueText = text; }
    void setRowsOption(bool r) override { rows = r; }
    void setStoreWidthsEnabled(bool enabled) override { storeWidths = enabled; }
    bool storeWidthsEnabled() const override { return storeWidths; }

    QString valueText;
    bool rows = true;
    bool storeWidths = true;
};

} // namespace qd::forms
