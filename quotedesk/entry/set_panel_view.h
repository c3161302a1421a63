// The set search's component panel Frame2: the names of a component's major class, class,
// kinds and section, its colour with that colour's list price, and its price line's symbol,
// designation, remark, sizes and sixteen colours with their list prices in four columns.
// Nothing typed into its boxes is ever read.
#pragma once

#include "quotedesk/entry/colour_panel.h"
#include "quotedesk/entry/set_panel.h"

namespace qd::forms {

class SetComponentPanel : public ColourPanel {
    Q_OBJECT
public:
    explicit SetComponentPanel(QWidget *parent = nullptr);

    // Shows a component's content; every box and label is set, so nothing of an earlier
    // component stays.
    void showContent(const qd::entry::ComponentPanelContent &content);

    QLineEdit *Text49 = nullptr, *Text35 = nullptr, *Text3 = nullptr, *Text50 = nullptr, *Text36 = nullptr;
    QLabel *Label26 = nullptr;
    QLineEdit *Text51 = nullptr, *Text8 = nullptr, *Text9 = nullptr, *Text37 = nullptr;
    QLineEdit *Text4 = nullptr, *Text5 = nullptr, *Text6 = nullptr, *Text7 = nullptr;
};

} // namespace qd::forms
