#include "quotedesk/entry/colour_panel.h"

#include <QLabel>
#include <QLineEdit>

#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"

namespace qd::forms {

ColourPanel::ColourPanel(const char *name, int height, QWidget *parent) : QFrame(parent), m_height(height)
{
    setObjectName(QString::fromLatin1(name));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFont(QFont(QStringLiteral("ＭＳ 明朝")));
}

QLabel *ColourPanel::label(const char *name, const QString &caption, int left, int top, int width)
{
    auto *l = new QLabel(caption, this);
    l->setObjectName(QString::fromLatin1(name));
    qd::qt::setGeometryTwips(l, left, top, width, m_height);
    return l;
}

QLineEdit *ColourPanel::box(const QString &name, int left, int top, int width)
{
    // The panels only show: nothing typed into them is ever read.
    auto *t = new QLineEdit(this);
    t->setObjectName(name);
    t->setReadOnly(true);
    qd::qt::setGeometryTwips(t, left, top, width, m_height);
    return t;
}

void ColourPanel::buildPositions(const Positions &p)
{
    for (std::size_t k = 0; k < 16; ++k) {
        const std::size_t column = k / 4, rowIndex = k % 4;
        const QByteArray name = QStringLiteral("Label%1").arg(p.labelNames[k]).toLatin1();
        m_colourLabels[k] = label(name.constData(), QString(), p.labelLeft[column], p.rowTop[rowIndex], p.labelWidth);
        m_priceBoxes[k] = box(QStringLiteral("Text%1").arg(p.boxNames[k]), p.labelLeft[column] + p.boxOffset,
                              p.rowTop[rowIndex], p.boxWidth);
        m_priceBoxes[k]->setAlignment(Qt::AlignRight);
    }
}

void ColourPanel::showPositions(const std::array<std::string, 16> &colours, const std::array<std::string, 16> &prices)
{
    for (std::size_t k = 0; k < 16; ++k) {
        m_colourLabels[k]->setText(qd::qt::qs(colours[k]));
        m_priceBoxes[k]->setText(qd::qt::qs(prices[k]));
    }
    for (QLineEdit *b : findChildren<QLineEdit *>())
        b->setCursorPosition(0);
}

} // namespace qd::forms
