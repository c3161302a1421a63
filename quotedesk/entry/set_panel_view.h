// The set search's component panel Frame2: the names of a component's major class, class,
// kinds and section, its colour with that colour's list price, and its price line's symbol,
// designation, remark, sizes and sixteen colours with their list prices in four columns.
// Nothing typed into its boxes is ever read.
#pragma once

#include <QFrame>

#include <array>

#include "quotedesk/entry/set_panel.h"

class QLabel;
class QLineEdit;

namespace qd::forms {

class SetComponentPanel : public QFrame {
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

    // Position k = 1..16: its colour label and price box.
    QLabel *colourLabel(int k) const { return m_colourLabels.at(static_cast<std::size_t>(k - 1)); }
    QLineEdit *priceBox(int k) const { return m_priceBoxes.at(static_cast<std::size_t>(k - 1)); }

private:
    std::array<QLabel *, 16> m_colourLabels{};
    std::array<QLineEdit *, 16> m_priceBoxes{};
};

} // namespace qd::forms
