#include "quotedesk/entry/price_panel_view.h"

#include <QLabel>
#include <QLineEdit>

#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"

namespace qd::forms {

using qd::qt::qs;

namespace {

constexpr int BOX_HEIGHT = 315;

QLabel *label(QWidget *parent, const char *name, const QString &caption, int left, int top, int width)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    qd::qt::setGeometryTwips(l, left, top, width, BOX_HEIGHT);
    return l;
}

QLineEdit *box(QWidget *parent, const QString &name, int left, int top, int width)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(name);
    qd::qt::setGeometryTwips(t, left, top, width, BOX_HEIGHT);
    return t;
}

} // namespace

PricePanel::PricePanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Frame3"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFont(QFont(QStringLiteral("ＭＳ 明朝")));

    // The upper part: names, symbol, designation, remark and sizes in four rows.
    label(this, "Label30", QStringLiteral("大分類"), 120, 240, 1320);
    Text28 = box(this, QStringLiteral("Text28"), 1440, 240, 2160);
    label(this, "Label32", QStringLiteral("品種１"), 3720, 240, 840);
    Text30 = box(this, QStringLiteral("Text30"), 4560, 240, 3000);
    label(this, "Label64", QStringLiteral("区分"), 7680, 240, 1680);

    label(this, "Label31", QStringLiteral("分類"), 120, 600, 1320);
    Text29 = box(this, QStringLiteral("Text29"), 1440, 600, 2160);
    label(this, "Label28", QStringLiteral("品種２"), 3720, 600, 840);
    Text27 = box(this, QStringLiteral("Text27"), 4560, 600, 3000);
    Text60 = box(this, QStringLiteral("Text60"), 7680, 600, 1680);

    label(this, "Label39", QStringLiteral("記号       (25)"), 120, 960, 1320);
    Text38 = box(this, QStringLiteral("Text38"), 1440, 960, 2160);
    label(this, "Label33", QStringLiteral("Ｗミリ／尺"), 3720, 960, 960);
    Text31 = box(this, QStringLiteral("Text31"), 4680, 960, 840);
    Text32 = box(this, QStringLiteral("Text32"), 5540, 960, 720);
    label(this, "Label37", QStringLiteral("Ｈミリ／尺"), 6360, 960, 960);
    Text33 = box(this, QStringLiteral("Text33"), 7320, 960, 840);
    Text34 = box(this, QStringLiteral("Text34"), 8180, 960, 720);

    label(this, "Label38", QStringLiteral("呼称       (20)"), 120, 1320, 1320);
    Text39 = box(this, QStringLiteral("Text39"), 1440, 1320, 2160);
    label(this, "Label65", QStringLiteral("備考"), 3720, 1320, 840);
    Text61 = box(this, QStringLiteral("Text61"), 4560, 1320, 4800);

    // Sixteen colour positions: four columns of four rows, each a label and its price box.
    static const int labelNames[16] = {40, 41, 42, 43, 44, 45, 46, 47, 56, 57, 58, 59, 60, 61, 62, 63};
    static const int boxNames[16] = {40, 41, 42, 43, 44, 45, 46, 47, 48, 53, 54, 55, 56, 57, 58, 59};
    static const int labelLeft[4] = {360, 2640, 4920, 7200};
    static const int rowTop[4] = {1800, 2160, 2520, 2880};
    for (int k = 0; k < 16; ++k) {
        const int column = k / 4, rowIndex = k % 4;
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("Label%1").arg(labelNames[k]));
        qd::qt::setGeometryTwips(l, labelLeft[column], rowTop[rowIndex], 1080, BOX_HEIGHT);
        m_colourLabels[static_cast<std::size_t>(k)] = l;
        m_priceBoxes[static_cast<std::size_t>(k)] =
            box(this, QStringLiteral("Text%1").arg(boxNames[k]), labelLeft[column] + 1080, rowTop[rowIndex], 1100);
        m_priceBoxes[static_cast<std::size_t>(k)]->setAlignment(Qt::AlignRight);
    }
}

void PricePanel::showContent(const qd::entry::PanelContent &c)
{
    auto name = [](QLineEdit *box, const std::optional<std::string> &text) {
        if (text)
            box->setText(qs(*text));
    };
    name(Text28, c.major);
    name(Text29, c.klass);
    name(Text30, c.kind1);
    name(Text27, c.kind2);
    name(Text60, c.section);
    Text61->setText(qs(c.biko));
    Text38->setText(qs(c.kigo));
    Text39->setText(qs(c.kosyo));
    Text31->setText(qs(c.wMiri));
    Text33->setText(qs(c.hMiri));
    Text32->setText(qs(c.wSyaku));
    Text34->setText(qs(c.hSyaku));
    for (int k = 1; k <= 16; ++k) {
        colourLabel(k)->setText(qs(c.colours.at(static_cast<std::size_t>(k - 1))));
        priceBox(k)->setText(qs(c.prices.at(static_cast<std::size_t>(k - 1))));
    }
    // Texts keep their trailing blanks; each box shows its text from the start.
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->setCursorPosition(0);
}

} // namespace qd::forms
