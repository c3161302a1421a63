#include "quotedesk/mainwindow/kihon_start_screen.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

#include "platform/text/numbers.h"

namespace qd::forms {

void KihonCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int h = height();
    for (int y = 0; y < 256; ++y) {
        const int i = y + 1;
        const int green = std::min(255, static_cast<int>(qd::text::roundHalfEven(i / 2.0)));
        const int blue = std::min(255, i);
        const int top = y * h / 256;
        const int bottom = (y + 1) * h / 256;
        p.fillRect(QRect(0, top, width(), std::max(1, bottom - top)), QColor(0, green, blue));
    }
}

QPixmap logoPixmap(QSize size)
{
    QPixmap pm(size.expandedTo(QSize(8, 8)));
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The drawing keeps to the upper part of the picture, clear of the title below it on small
    // screens.
    const QRectF box = QRectF(pm.rect()).adjusted(2, 2, -2, -2);
    const double h = box.height() * 0.75;
    const double w = std::min(box.width(), h * 1.6);
    const QRectF frame(box.center().x() - w / 2, box.top(), w, h);
    const double bar = std::max(2.0, w / 18);

    // The outer frame.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 195, 200));
    p.drawRect(frame);
    // Two sashes, the right one on the outer rail overlapping the meeting stile.
    const QRectF inner = frame.adjusted(bar, bar, -bar, -bar);
    const double paneW = inner.width() / 2 + bar / 2;
    const QRectF left(inner.left(), inner.top(), paneW, inner.height());
    const QRectF right(inner.right() - paneW, inner.top(), paneW, inner.height());
    for (const QRectF &sash : {left, right}) {
        p.setPen(QPen(QColor(150, 155, 160), bar));
        QLinearGradient glass(sash.topLeft(), sash.bottomRight());
        glass.setColorAt(0, QColor(225, 240, 250));
        glass.setColorAt(1, QColor(150, 190, 215));
        p.setBrush(glass);
        p.drawRect(sash.adjusted(bar / 2, bar / 2, -bar / 2, -bar / 2));
    }
    // The pull of each sash.
    p.setPen(QPen(QColor(90, 95, 100), std::max(1.0, bar / 2)));
    p.drawLine(QPointF(left.right() - bar * 1.5, inner.center().y() - bar),
               QPointF(left.right() - bar * 1.5, inner.center().y() + bar));
    p.drawLine(QPointF(right.left() + bar * 1.5, inner.center().y() - bar),
               QPointF(right.left() + bar * 1.5, inner.center().y() + bar));
    return pm;
}

} // namespace qd::forms
