#include "quotedesk/sheet/sheet_face.h"

#include <QFontMetrics>
#include <QRect>

#include <algorithm>
#include <cmath>

#include "platform/qt/grid_view.h"
#include "quotedesk/sheet/grid_display.h"
#include "quotedesk/sheet/sheet_header.h"

namespace qd::sheet {

namespace {

// The steps of the font-size buttons, in percent of the base size.
constexpr int ZOOM_STEPS[] = {60, 70, 80, 90, 100, 110, 120, 130, 140};
constexpr double BASE_POINTS = 12.0;

int pixels(double twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }
int margin(int atOne, double zoom) { return std::max(1, static_cast<int>(std::lround(atOne * zoom))); }

// Whether the values and captions of the default set fit at `share` of the font size, at every
// zoom step.
bool fitsEverywhere(const QFont &face, double share, int dpi)
{
    const GridDisplaySettings set = defaultGridDisplay();
    const auto &captions = columnCaptions();
    for (int pct : ZOOM_STEPS) {
        const double zoom = pct / 100.0;
        QFont f = face;
        f.setPointSizeF(BASE_POINTS * zoom * share);
        const QFontMetrics m(f);
        const int captionHeight = pixels(set.ROW_HEIGHT_0.toDouble() * zoom, dpi) - 1;
        const int rowHeight = pixels(set.ROW_HEIGHT_1.toDouble() * zoom, dpi) - 1;
        if (m.height() > rowHeight)
            return false;
        for (int c = 0; c < SHEET_COLUMN_COUNT; ++c) {
            const double width = set.COL_WIDTH[static_cast<std::size_t>(c)].toDouble();
            if (width <= HIDDEN_COL_WIDTH)
                continue;
            const int room = pixels(width * zoom, dpi) - margin(qd::qt::GridView::TextMarginLeft, zoom) -
                             margin(qd::qt::GridView::TextMarginRight, zoom);
            const std::string widest = widestValue(c);
            if (!widest.empty() && m.horizontalAdvance(QString::fromStdString(widest)) > room)
                return false;
            const QRect caption = m.boundingRect(QRect(0, 0, room, 10000), Qt::TextWordWrap,
                                                 QString::fromUtf8(captions[static_cast<std::size_t>(c)]));
            if (caption.width() > room || caption.height() > captionHeight || caption.height() >= 3 * m.lineSpacing())
                return false;
        }
    }
    return true;
}

} // namespace

QFont sheetFace()
{
    QFont f;
    f.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(BASE_POINTS);
    return f;
}

std::string widestValue(int col)
{
    switch (col) {
    case 0: return "99";                      // page number
    case 1: return "0000/00/00";              // date, 10 bytes
    case 4: case 5: case 6: return "99999.9"; // sizes, tenths of a millimetre in 7 digits
    case 7: case 13: case 14: case 18: return "9,999,999";
    case 15: case 19: case 20: case 24: return "99,999,999";
    case 9: return "99999.00";                // quantity, five digits kept
    case 10: return "平方米単位";             // unit, 10 bytes
    case 11: return "99";                     // rate class
    case 12: case 17: return "9999.99";       // rates, six digits of hundredths kept
    case 23: return "100.00";                 // tax rate
    default: return {};
    }
}

double sheetFaceShare(const QFont &face, int dpi)
{
    // From a little above the share the figures need at the base size, down in steps of one
    // percent to the first share that fits everywhere; a face that fits nowhere is drawn at the
    // smallest share tried.
    const GridDisplaySettings set = defaultGridDisplay();
    QFont f = face;
    f.setPointSizeF(BASE_POINTS);
    const QFontMetrics m(f);
    double share = 1.0;
    for (int c = 0; c < SHEET_COLUMN_COUNT; ++c) {
        const double width = set.COL_WIDTH[static_cast<std::size_t>(c)].toDouble();
        const std::string widest = widestValue(c);
        if (width <= HIDDEN_COL_WIDTH || widest.empty())
            continue;
        const int room = pixels(width, dpi) - qd::qt::GridView::TextMarginLeft - qd::qt::GridView::TextMarginRight;
        share = std::min(share, room / static_cast<double>(m.horizontalAdvance(QString::fromStdString(widest))));
    }
    share = std::min(1.0, share + 0.02);
    while (share > 0.5 && !fitsEverywhere(face, share, dpi))
        share -= 0.01;
    return share;
}

void setSheetFace(qd::qt::GridView &view, double basePoints)
{
    const QFont face = sheetFace();
    view.setCellFace(face, sheetFaceShare(face, view.logicalDpiX()));
    view.setZoomBase(basePoints);
}

} // namespace qd::sheet
