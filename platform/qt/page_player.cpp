#include "platform/qt/page_player.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <variant>
#include <vector>

namespace qd::qt {

using namespace qd::emf;

namespace {

const QString kStandardGothic = QStringLiteral("標準ゴシック");
const QStringList kGothicFamilies{QStringLiteral("IPAGothic"),
                                  QStringLiteral("Noto Sans Mono CJK JP")};

// Stock objects a page may select.
constexpr std::uint32_t kWhitePen = kStockObject + 6;
constexpr std::uint32_t kNullPen = kStockObject + 8;
constexpr std::uint32_t kBlackPen = kStockObject + 7;
constexpr std::uint32_t kDcPen = kStockObject + 19;
constexpr std::uint32_t kFirstStockFont = kStockObject + 10;
constexpr std::uint32_t kLastStockFont = kStockObject + 17;

QPen toQPen(const LogPen &p)
{
    const QColor color(p.color & 0xFF, (p.color >> 8) & 0xFF, (p.color >> 16) & 0xFF);
    QPen pen(color);
    // A width of 0 is one pixel of whatever device draws the page.
    pen.setWidthF(p.width);
    pen.setCosmetic(p.width == 0);
    pen.setCapStyle(Qt::FlatCap);
    switch (p.style & 0xF) {
    case 1: pen.setStyle(Qt::DashLine); break;
    case 2: pen.setStyle(Qt::DotLine); break;
    case 3: pen.setStyle(Qt::DashDotLine); break;
    case 4: pen.setStyle(Qt::DashDotDotLine); break;
    case 5: pen.setStyle(Qt::NoPen); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    return pen;
}

QPen blackPen()
{
    QPen pen(Qt::black);
    pen.setWidthF(0);
    pen.setCosmetic(true);
    return pen;
}

class Player {
public:
    Player(const PageImage &page, QPainter &painter, const QRectF &target)
        : m_page(page), m_painter(painter), m_base(painter.worldTransform()),
          m_objects(page.header.handles), m_font(defaultPageFont()), m_pen(blackPen())
    {
        // Device pixels -> the target rectangle, through the frame in 0.01 mm.
        const Header &h = page.header;
        const double mmPerPxX = double(h.millimeters.cx) / h.device.cx;
        const double mmPerPxY = double(h.millimeters.cy) / h.device.cy;
        const double sx = target.width() / (double(h.frame.right) - h.frame.left);
        const double sy = target.height() / (double(h.frame.bottom) - h.frame.top);
        m_deviceToTarget = QTransform(100 * mmPerPxX * sx, 0, 0, 100 * mmPerPxY * sy,
                                      target.left() - h.frame.left * sx,
                                      target.top() - h.frame.top * sy);
    }

    void run()
    {
        m_painter.save();
        // Rules are upright and crisp; texts are smoothed.
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
        updateTransform();
        for (const Record &rec : m_page.records)
            play(rec);
        m_painter.restore();
    }

private:
    void play(const Record &rec)
    {
        switch (rec.type) {
        case RecordType::SetMapMode: m_mapMode = rec.value; updateTransform(); break;
        case RecordType::SetWindowOrgEx: m_winOrg = QPointF(rec.x, rec.y); updateTransform(); break;
        case RecordType::SetWindowExtEx: m_winExt = QPointF(rec.x, rec.y); updateTransform(); break;
        case RecordType::SetViewportOrgEx: m_vpOrg = QPointF(rec.x, rec.y); updateTransform(); break;
        case RecordType::SetViewportExtEx: m_vpExt = QPointF(rec.x, rec.y); updateTransform(); break;
        case RecordType::SetBkMode: m_opaque = rec.value == kBkOpaque; break;
        case RecordType::CreatePen: m_objects[rec.value] = rec.pen; break;
        case RecordType::ExtCreateFontIndirectW: m_objects[rec.value] = rec.font; break;
        case RecordType::DeleteObject: m_objects[rec.value] = std::monostate{}; break;
        case RecordType::SelectObject: select(rec.value); break;
        case RecordType::MoveToEx: m_pos = QPointF(rec.x, rec.y); break;
        case RecordType::LineTo: {
            const QPointF to(rec.x, rec.y);
            m_painter.setPen(visible(m_pen));
            m_painter.drawLine(m_pos, to);
            m_pos = to;
            break;
        }
        case RecordType::ExtTextOutW: text(rec.text); break;
        default: break; // header, comments and the end draw nothing
        }
    }

    // A pen never draws thinner than one pixel of the target, so rules survive a small preview.
    QPen visible(QPen pen) const
    {
        if (pen.style() != Qt::NoPen && !pen.isCosmetic()) {
            const QTransform &t = m_painter.worldTransform();
            const double scale = std::sqrt(std::abs(t.determinant()));
            if (pen.widthF() * scale < 1.0) {
                pen.setWidthF(0);
                pen.setCosmetic(true);
            }
        }
        return pen;
    }

    void select(std::uint32_t handle)
    {
        if (handle == kWhitePen) {
            m_pen = blackPen();
            m_pen.setColor(Qt::white);
        } else if (handle == kBlackPen || handle == kDcPen) {
            m_pen = blackPen();
        } else if (handle == kNullPen) {
            m_pen = QPen(Qt::NoPen);
        } else if (handle >= kFirstStockFont && handle <= kLastStockFont) {
            m_font = defaultPageFont();
        } else if (handle < kStockObject) {
            if (const auto *pen = std::get_if<LogPen>(&m_objects[handle]))
                m_pen = toQPen(*pen);
            else if (const auto *font = std::get_if<LogFont>(&m_objects[handle]))
                m_font = *font;
        }
    }

    void text(const TextRun &t)
    {
        // The characters as they stand: a leading U+FEFF is a character of the text here, not
        // a byte-order mark to drop, so the text keeps one character for every advance.
        const QString s(reinterpret_cast<const QChar *>(t.chars.data()), qsizetype(t.chars.size()));
        const std::size_t n = std::size_t(s.size());
        if (n == 0)
            return;
        const bool advances = t.dx.size() == n;
        const QFont font = pageFont(m_font);
        const QFontMetricsF fm(font);
        // A high surrogate followed by its low half is one character.
        auto pairAt = [&](std::size_t i) {
            return i + 1 < n && s[qsizetype(i)].isHighSurrogate() && s[qsizetype(i + 1)].isLowSurrogate();
        };

        // Where each character starts: by the record's advances, else by the font's own.
        std::vector<double> starts(n + 1, 0.0);
        std::vector<double> natural(n + 1, 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            const bool pair = pairAt(i);
            const double adv = fm.horizontalAdvance(s.mid(qsizetype(i), pair ? 2 : 1));
            natural[i + 1] = natural[i] + adv;
            starts[i + 1] = starts[i] + (advances ? t.dx[i] : adv);
            if (pair) {
                ++i;
                natural[i + 1] = natural[i];
                starts[i + 1] = starts[i] + (advances ? t.dx[i] : 0);
            }
        }
        // The record's advances are whole units; a font that keeps to them within a little
        // less than one unit everywhere is drawn in one piece.
        bool asWhole = true;
        for (std::size_t i = 0; i <= n && asWhole; ++i)
            asWhole = std::abs(starts[i] - natural[i]) < 0.75;

        m_painter.save();
        m_painter.translate(t.x, t.y);
        if (m_font.escapement != 0)
            m_painter.rotate(-m_font.escapement / 10.0);
        if (m_opaque)
            m_painter.fillRect(QRectF(0, 0, starts.back(), fm.height()), Qt::white);
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
        // The point of a text is the top-left corner of its first character cell.
        const double baseline = fm.ascent();
        if (asWhole) {
            m_painter.drawText(QPointF(0, baseline), s);
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                const bool pair = pairAt(i);
                const QString ch = s.mid(qsizetype(i), pair ? 2 : 1);
                const std::size_t next = pair ? i + 2 : i + 1;
                const double cell = starts[next] - starts[i];
                const double glyph = natural[next] - natural[i];
                if (cell > 0 && glyph > cell + 0.75) {
                    // A glyph wider than its cell (the yen mark is one byte in the files but
                    // full width in Japanese fonts) is narrowed to the cell, so it does not
                    // run into the digits after it.
                    m_painter.save();
                    m_painter.translate(starts[i], 0);
                    m_painter.scale(cell / glyph, 1);
                    m_painter.drawText(QPointF(0, baseline), ch);
                    m_painter.restore();
                } else {
                    m_painter.drawText(QPointF(starts[i], baseline), ch);
                }
                if (pair)
                    ++i;
            }
        }
        m_painter.restore();
    }

    // Logical units -> device pixels by the mapping mode, then device -> target.
    void updateTransform()
    {
        double sx = 1, sy = 1;
        if (m_mapMode != kMapModeText) {
            sx = m_vpExt.x() / m_winExt.x();
            sy = m_vpExt.y() / m_winExt.y();
            if (m_mapMode == kMapModeIsotropic) {
                // Both axes take the smaller scale, each keeping its own direction.
                const double s = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(s, sx);
                sy = std::copysign(s, sy);
            }
        }
        const QTransform logicalToDevice(sx, 0, 0, sy, m_vpOrg.x() - m_winOrg.x() * sx,
                                         m_vpOrg.y() - m_winOrg.y() * sy);
        m_painter.setWorldTransform(logicalToDevice * m_deviceToTarget * m_base);
    }

    const PageImage &m_page;
    QPainter &m_painter;
    QTransform m_base;
    QTransform m_deviceToTarget;
    std::vector<std::variant<std::monostate, LogFont, LogPen>> m_objects;
    std::uint32_t m_mapMode = kMapModeText;
    QPointF m_winOrg{0, 0}, m_winExt{1, 1}, m_vpOrg{0, 0}, m_vpExt{1, 1};
    QPointF m_pos{0, 0};
    bool m_opaque = false;
    LogFont m_font;
    QPen m_pen;
};

} // namespace

QStringList pageFontFamilies(const QString &face)
{
    const QString name = face.startsWith(QLatin1Char('@')) ? face.mid(1) : face;
    if (name.isEmpty() || name == kStandardGothic)
        return kGothicFamilies;
    return QStringList{name} + kGothicFamilies;
}

QFont pageFont(const LogFont &lf)
{
    QFont font;
    font.setFamilies(pageFontFamilies(QString::fromStdU16String(lf.face)));
    font.setStyleHint(QFont::TypeWriter);
    // Positions on paper must not depend on the screen: advances come unhinted, in fractions.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    // In 64 bits: the magnitude of the lowest 32-bit height does not fit 32.
    int em = int(std::min<std::int64_t>(std::llabs(std::int64_t{lf.height}), std::numeric_limits<int>::max()));
    if (lf.height > 0) {
        // A positive height is the whole cell; the em is the part of it the font gives.
        QFont probe = font;
        probe.setPixelSize(1000);
        const QFontMetricsF fm(probe);
        em = std::max(1, int(std::lround(lf.height * 1000.0 / fm.height())));
    }
    font.setPixelSize(std::max(1, em));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(lf.weight == 0 ? 400 : lf.weight, 1, 1000)));
    font.setItalic(lf.italic != 0);
    font.setUnderline(lf.underline != 0);
    font.setStrikeOut(lf.strikeOut != 0);
    if (lf.width != 0)
        font.setStretch(std::clamp(int(std::lround(200.0 * lf.width / em)), 1, 4000));
    return font;
}

QSizeF pagePaperSizeMm(const PageImage &page)
{
    const Rect &f = page.header.frame;
    return QSizeF((f.right - f.left) / 100.0, (f.bottom - f.top) / 100.0);
}

void playPage(const PageImage &page, QPainter &painter, const QRectF &target)
{
    Player(page, painter, target).run();
}

} // namespace qd::qt
