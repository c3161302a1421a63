#include "quotedesk/entry/set_panel_view.h"

#include <QLabel>
#include <QLineEdit>

#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"

namespace qd::forms {

using qd::qt::qs;

namespace {

constexpr int BOX_HEIGHT = 375;

QLabel *label(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
              int height = BOX_HEIGHT)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    qd::qt::setGeometryTwips(l, left, top, width, height);
    return l;
}

QLineEdit *box(QWidget *parent, const QString &name, int left, int top, int width)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(name);
    t->setReadOnly(true);
    qd::qt::setGeometryTwips(t, left, top, width, BOX_HEIGHT);
    return t;
}

} // namespace

SetComponentPanel::SetComponentPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame2"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFont(QFont(QStringLiteral("ＭＳ 明朝")));

    label(this, QStringLiteral("Label55"), QStringLiteral("大分類"), 120, 240, 1080);
    Text49 = box(this, QStringLiteral("Text49"), 1200, 240, 2055);
    label(this, QStringLiteral("Label54"), QStringLiteral("分類"), 120, 600, 1080);
    Text35 = box(this, QStringLiteral("Text35"), 1200, 600, 2055);
    label(this, QStringLiteral("Label53"), QStringLiteral("品種１"), 3360, 240, 840);
    Text3 = box(this, QStringLiteral("Text3"), 4200, 240, 3135);
    label(this, QStringLiteral("Label25"), QStringLiteral("品種２"), 3360, 600, 840);
    Text50 = box(this, QStringLiteral("Text50"), 4200, 600, 3135);
    label(this, QStringLiteral("Label34"), QStringLiteral("区分"), 7440, 225, 1935, 255);
    Text36 = box(this, QStringLiteral("Text36"), 7440, 480, 1935);
    Label26 = label(this, QStringLiteral("Label26"), QString(), 7440, 840, 975);
    Text51 = box(this, QStringLiteral("Text51"), 8400, 840, 975);
    Text51->setAlignment(Qt::AlignRight);

    // The symbol's and designation's captions carry their widths: a size smaller, so they show
    // whole before their boxes.
    for (QLabel *caption : {label(this, QStringLiteral("Label49"), QStringLiteral("記号       (25)"), 60, 960, 1140),
                            label(this, QStringLiteral("Label50"), QStringLiteral("呼称       (20)"), 60, 1320, 1140)}) {
        QFont smaller = caption->font();
        smaller.setPointSizeF(smaller.pointSizeF() * 0.85);
        caption->setFont(smaller);
    }
    Text8 = box(this, QStringLiteral("Text8"), 1200, 960, 2655);
    Text9 = box(this, QStringLiteral("Text9"), 1200, 1320, 2655);
    label(this, QStringLiteral("Label36"), QStringLiteral("備考"), 120, 1680, 1080);
    Text37 = box(this, QStringLiteral("Text37"), 1200, 1680, 4815);
    label(this, QStringLiteral("Label52"), QStringLiteral("Ｗミリ／尺"), 6600, 1320, 1320);
    Text4 = box(this, QStringLiteral("Text4"), 7920, 1320, 735);
    Text5 = box(this, QStringLiteral("Text5"), 8640, 1320, 735);
    label(this, QStringLiteral("Label51"), QStringLiteral("Ｈミリ／尺"), 6600, 1680, 1320);
    Text6 = box(this, QStringLiteral("Text6"), 7920, 1680, 735);
    Text7 = box(this, QStringLiteral("Text7"), 8640, 1680, 735);

    // Sixteen colour positions: four columns of four rows, each a label and its price box.
    static const int labelNames[16] = {48, 35, 27, 11, 12, 13, 14, 15, 16, 10, 18, 19, 20, 21, 22, 23};
    static const int labelLeft[4] = {240, 2520, 4800, 7080};
    static const int rowTop[4] = {2160, 2520, 2880, 3240};
    for (int k = 0; k < 16; ++k) {
        const int column = k / 4, rowIndex = k % 4;
        m_colourLabels[static_cast<std::size_t>(k)] = label(this, QStringLiteral("Label%1").arg(labelNames[k]), QString(),
                                                            labelLeft[column], rowTop[rowIndex], 1095);
        QLineEdit *price =
            box(this, QStringLiteral("Text%1").arg(10 + k), labelLeft[column] + 1080, rowTop[rowIndex], 975);
        price->setAlignment(Qt::AlignRight);
        m_priceBoxes[static_cast<std::size_t>(k)] = price;
    }
}

void SetComponentPanel::showContent(const qd::entry::ComponentPanelContent &c)
{
    Text49->setText(qs(c.major));
    Text35->setText(qs(c.klass));
    Text3->setText(qs(c.kind1));
    Text50->setText(qs(c.kind2));
    Text36->setText(qs(c.section));
    Label26->setText(qs(c.colourName));
    Text51->setText(qs(c.colourPrice));
    Text8->setText(qs(c.kigo));
    Text9->setText(qs(c.kosyo));
    Text37->setText(qs(c.biko));
    Text4->setText(qs(c.wMiri));
    Text5->setText(qs(c.wSyaku));
    Text6->setText(qs(c.hMiri));
    Text7->setText(qs(c.hSyaku));
    for (int k = 1; k <= 16; ++k) {
        colourLabel(k)->setText(qs(c.colours.at(static_cast<std::size_t>(k - 1))));
        priceBox(k)->setText(qs(c.prices.at(static_cast<std::size_t>(k - 1))));
    }
    // Texts keep their trailing blanks; each box shows its text from the start.
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->setCursorPosition(0);
}

} // namespace qd::forms
