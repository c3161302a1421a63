#include "quotedesk/entry/price_panel_view.h"

#include <QLineEdit>

#include "platform/qt/qt_text.h"

namespace qd::forms {

using qd::qt::qs;

PricePanel::PricePanel(QWidget *parent) : ColourPanel("Frame3", 315, parent)
{
    // The upper part: names, symbol, designation, remark and sizes in four rows.
    label("Label30", QStringLiteral("大分類"), 120, 240, 1320);
    Text28 = box(QStringLiteral("Text28"), 1440, 240, 2160);
    label("Label32", QStringLiteral("品種１"), 3720, 240, 840);
    Text30 = box(QStringLiteral("Text30"), 4560, 240, 3000);
    label("Label64", QStringLiteral("区分"), 7680, 240, 1680);

    label("Label31", QStringLiteral("分類"), 120, 600, 1320);
    Text29 = box(QStringLiteral("Text29"), 1440, 600, 2160);
    label("Label28", QStringLiteral("品種２"), 3720, 600, 840);
    Text27 = box(QStringLiteral("Text27"), 4560, 600, 3000);
    Text60 = box(QStringLiteral("Text60"), 7680, 600, 1680);

    label("Label39", QStringLiteral("記号       (25)"), 120, 960, 1320);
    Text38 = box(QStringLiteral("Text38"), 1440, 960, 2160);
    label("Label33", QStringLiteral("Ｗミリ／尺"), 3720, 960, 960);
    Text31 = box(QStringLiteral("Text31"), 4680, 960, 840);
    Text32 = box(QStringLiteral("Text32"), 5540, 960, 720);
    label("Label37", QStringLiteral("Ｈミリ／尺"), 6360, 960, 960);
    Text33 = box(QStringLiteral("Text33"), 7320, 960, 840);
    Text34 = box(QStringLiteral("Text34"), 8180, 960, 720);

    label("Label38", QStringLiteral("呼称       (20)"), 120, 1320, 1320);
    Text39 = box(QStringLiteral("Text39"), 1440, 1320, 2160);
    label("Label65", QStringLiteral("備考"), 3720, 1320, 840);
    Text61 = box(QStringLiteral("Text61"), 4560, 1320, 4800);

    buildPositions({{40, 41, 42, 43, 44, 45, 46, 47, 56, 57, 58, 59, 60, 61, 62, 63},
                    {40, 41, 42, 43, 44, 45, 46, 47, 48, 53, 54, 55, 56, 57, 58, 59},
                    {360, 2640, 4920, 7200},
                    {1800, 2160, 2520, 2880},
                    1080,
                    1080,
                    1100});
}

void PricePanel::popUp(qd::core::QdState &g, qd::entry::PanelVariant variant)
{
    show();
    raise();
    repaint();
    showContent(qd::entry::panelContent(g, variant));
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
    showPositions(c.colours, c.prices);
}

} // namespace qd::forms
