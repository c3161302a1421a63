// The price detail panel Frame3 as the two search forms show it: the names of a price line's
// classes and section, its symbol, designation, remark and sizes, and sixteen colours with their
// list prices in four columns. Nothing typed into its boxes is ever read.
#pragma once

#include "quotedesk/entry/colour_panel.h"
#include "quotedesk/entry/price_panel.h"

namespace qd::forms {

class PricePanel : public ColourPanel {
    Q_OBJECT
public:
    explicit PricePanel(QWidget *parent = nullptr);

    // Shows a line's content; a name not found leaves its box as it was.
    void showContent(const qd::entry::PanelContent &content);
    // Shows the panel in front at once, before the masters are read, then the content of the
    // price line in TANKA_REC (qd::entry::panelContent).
    void popUp(qd::core::QdState &g, qd::entry::PanelVariant variant);

    QLineEdit *Text28 = nullptr, *Text29 = nullptr, *Text30 = nullptr, *Text27 = nullptr, *Text60 = nullptr;
    QLineEdit *Text38 = nullptr, *Text39 = nullptr, *Text61 = nullptr;
    QLineEdit *Text31 = nullptr, *Text32 = nullptr, *Text33 = nullptr, *Text34 = nullptr;
};

} // namespace qd::forms
