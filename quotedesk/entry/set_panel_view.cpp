#include "quotedesk/entry/set_panel_view.h"

#include <QLabel>
#include <QLineEdit>

#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"

namespace qd::forms {

using qd::qt::qs;

SetComponentPanel::SetComponentPanel(QWidget *parent) : ColourPanel("Frame2", 375, parent)
{
    label("Label55", QStringLiteral("大分類"), 120, 240, 1080);
    Text49 = box(QStringLiteral("Text49"), 1200, 240, 2055);
    label("Label54", QStringLiteral("分類"), 120, 600, 1080);
    Text35 = box(QStringLiteral("Text35"), 1200, 600, 2055);
    label("Label53", QStringLiteral("品種１"), 3360, 240, 840);
    Text3 = box(QStringLiteral("Text3"), 4200, 240, 3135);
    label("Label25", QStringLiteral("品種２"), 3360, 600, 840);
    Text50 = box(QStringLiteral("Text50"), 4200, 600, 3135);
    QLabel *section = label("Label34", QStringLiteral("区分"), 7440, 225, 1935);
    qd::qt::setGeometryTwips(section, 7440, 225, 1935, 255); // a caption above its box, lower than the rest
    Text36 = box(QStringLiteral("Text36"), 7440, 480, 1935);
    Label26 = label("Label26", QString(), 7440, 840, 975);
    Text51 = box(QStringLiteral("Text51"), 8400, 840, 975);
    Text51->setAlignment(Qt::AlignRight);

    // The symbol's and designation's captions carry their widths: a size smaller, so they show
    // whole before their boxes.
    for (QLabel *caption : {label("Label49", QStringLiteral("記号       (25)"), 60, 960, 1140),
                            label("Label50", QStringLiteral("呼称       (20)"), 60, 1320, 1140)}) {
        QFont smaller = caption->font();
        smaller.setPointSizeF(smaller.pointSizeF() * 0.85);
        caption->setFont(smaller);
    }
    Text8 = box(QStringLiteral("Text8"), 1200, 960, 2655);
    Text9 = box(QStringLiteral("Text9"), 1200, 1320, 2655);
    label("Label36", QStringLiteral("備考"), 120, 1680, 1080);
    Text37 = box(QStringLiteral("Text37"), 1200, 1680, 4815);
    label("Label52", QStringLiteral("Ｗミリ／尺"), 6600, 1320, 1320);
    Text4 = box(QStringLiteral("Text4"), 7920, 1320, 735);
    Text5 = box(QStringLiteral("Text5"), 8640, 1320, 735);
    label("Label51", QStringLiteral("Ｈミリ／尺"), 6600, 1680, 1320);
    Text6 = box(QStringLiteral("Text6"), 7920, 1680, 735);
    Text7 = box(QStringLiteral("Text7"), 8640, 1680, 735);

    buildPositions({{48, 35, 27, 11, 12, 13, 14, 15, 16, 10, 18, 19, 20, 21, 22, 23},
                    {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25},
                    {240, 2520, 4800, 7080},
                    {2160, 2520, 2880, 3240},
                    1095,
                    1080,
                    975});
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
    showPositions(c.colours, c.prices);
}

} // namespace qd::forms
