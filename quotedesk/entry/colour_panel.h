// What the two price panels of the product pickers (the price detail panel Frame3 and the set
// search's component panel Frame2) have in common: a frame of named labels and read-only boxes
// placed in twips, with sixteen colour positions in four columns of four, each a colour label
// and its price box.
#pragma once

#include <QFrame>

#include <array>
#include <string>

class QLabel;
class QLineEdit;

namespace qd::forms {

class ColourPanel : public QFrame {
    Q_OBJECT
public:
    // Position k = 1..16: its colour label and price box.
    QLabel *colourLabel(int k) const { return m_colourLabels.at(static_cast<std::size_t>(k - 1)); }
    QLineEdit *priceBox(int k) const { return m_priceBoxes.at(static_cast<std::size_t>(k - 1)); }

protected:
    // `name` is the frame's name; `height` that of its labels and boxes, in twips.
    ColourPanel(const char *name, int height, QWidget *parent);

    QLabel *label(const char *name, const QString &caption, int left, int top, int width);
    QLineEdit *box(const QString &name, int left, int top, int width);

    // The colour positions: the labels and boxes named by the numbers given, column by column
    // from the lefts given, row by row from the tops given; each box `boxOffset` right of its
    // label.
    struct Positions {
        std::array<int, 16> labelNames, boxNames;
        std::array<int, 4> labelLeft, rowTop;
        int labelWidth, boxOffset, boxWidth;
    };
    void buildPositions(const Positions &p);
    // The colours and prices of positions 1..16, then every box shown from its start (texts keep
    // their trailing blanks).
    void showPositions(const std::array<std::string, 16> &colours, const std::array<std::string, 16> &prices);

private:
    int m_height;
    std::array<QLabel *, 16> m_colourLabels{};
    std::array<QLineEdit *, 16> m_priceBoxes{};
};

} // namespace qd::forms
