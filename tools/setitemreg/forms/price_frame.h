// The two price panels of SETHIN as frames of labelled boxes: Frame2 (the chosen component, with
// its colour, the price of that colour beside it, and sixteen colour entries) and Frame3 (the
// pressed price line). Both show a PanelContent; neither can be edited.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include <array>

#include "tools/setitemreg/core/price_panels.h"

namespace qd::setitemreg {

class PriceFrame : public QFrame {
    Q_OBJECT
public:
    enum class Kind { Component, PriceLine };
    PriceFrame(Kind kind, QWidget *parent);

    using QFrame::show;
    void show(const PanelContent &content);
    // Every box empty; the colour entries show nothing.
    void blank();

    // The boxes by their names (Text49, Text8, ...) for the tests.
    QLineEdit *box(const char *name) const;
    QLabel *colourLabel(int k) const { return m_labels.at(static_cast<std::size_t>(k - 1)); } // k = 1..16
    QLineEdit *priceBox(int k) const { return m_prices.at(static_cast<std::size_t>(k - 1)); }
    QLabel *componentColour() const { return m_colour; } // Label26 (Frame2)

private:
    QLineEdit *addBox(const char *name, double left, double top, double width);
    void addCaption(const char *name, const QString &caption, double left, double top, double width);

    Kind m_kind;
    QLineEdit *m_major, *m_class, *m_kind1, *m_kind2, *m_section, *m_kigo, *m_kosyo, *m_biko;
    QLineEdit *m_wMm, *m_wShaku, *m_hMm, *m_hShaku;
    QLabel *m_colour = nullptr;
    QLineEdit *m_colourPrice = nullptr;
    std::array<QLabel *, 16> m_labels{};
    std::array<QLineEdit *, 16> m_prices{};
};

} // namespace qd::setitemreg
