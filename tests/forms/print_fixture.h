// Helpers of the printing tests: the words of a PDF as poppler's pdftotext reads them, beside the
// texts and rules of a page image file and the ink its texts leave on paper.
#pragma once

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/qt/page_player.h"
#include "tests/support/page_content.h"

namespace qd::testing {

// Output of a poppler tool, or the empty text when it cannot run.
inline QString runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString pdfLayoutText(const std::filesystem::path &pdf)
{
    return runTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QString::fromStdString(pdf.string()), QStringLiteral("-")});
}

// A word of `pdftotext -bbox`, in millimetres from the top-left corner of its sheet.
struct PdfWord {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

inline std::vector<PdfWord> pdfWords(const std::filesystem::path &pdf)
{
    const QString html = runTool(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-bbox"), QString::fromStdString(pdf.string()), QStringLiteral("-")});
    std::vector<PdfWord> words;
    const QRegularExpression pageRe(QStringLiteral("<page "));
    const QRegularExpression wordRe(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    constexpr double mmPerPt = 25.4 / 72.0;
    int page = 0;
    for (const QString &line : html.split(QLatin1Char('\n'))) {
        if (line.contains(pageRe))
            ++page;
        const auto m = wordRe.match(line);
        if (!m.hasMatch())
            continue;
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">")).replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        words.push_back({page, m.captured(1).toDouble() * mmPerPt, m.captured(2).toDouble() * mmPerPt,
                         m.captured(3).toDouble() * mmPerPt, m.captured(4).toDouble() * mmPerPt, text});
    }
    return words;
}

inline int pdfPageCount(const std::filesystem::path &pdf)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf.string())});
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Where a text or a rule leaves ink on paper, in layout units (0.1 mm) of the page.
struct Ink {
    double left = 0, top = 0, right = 0, bottom = 0;
    // The paper between two inks, in layout units: 0 when they touch or overlap.
    double distance(const Ink &o) const
    {
        const double dx = std::max({0.0, o.left - right, left - o.right});
        const double dy = std::max({0.0, o.top - bottom, top - o.bottom});
        return std::hypot(dx, dy);
    }
};

// A rule one unit wide: half a unit of ink each side of its line, and past its ends.
inline Ink ruleInk(const PageRule &r)
{
    return {std::min(r.x1, r.x2) - 0.5, std::min(r.y1, r.y2) - 0.5, std::max(r.x1, r.x2) + 0.5,
            std::max(r.y1, r.y2) + 0.5};
}

// The ink of every text of `page`, in the order of pageContent's texts: each text played alone as
// the printer plays the page, at 40 pixels per millimetre, and the box of its pixels darker than
// mid-grey. A text that leaves no ink gets an empty box (right < left).
inline std::vector<Ink> textInks(const qd::emf::PageImage &page)
{
    using qd::emf::RecordType;
    constexpr double px = 4; // pixels per layout unit
    const PageContent content = pageContent(page);
    std::vector<Ink> inks;
    std::size_t index = 0;
    for (std::size_t i = 0; i < page.records.size(); ++i) {
        if (page.records[i].type != RecordType::ExtTextOutW)
            continue;
        const PageText &t = content.texts[index++];
        qd::emf::PageImage alone = page;
        for (std::size_t j = 0; j < alone.records.size(); ++j) {
            qd::emf::Record &r = alone.records[j];
            if (r.type == RecordType::ExtTextOutW && j != i) {
                r.text.chars.clear();
                r.text.dx.clear();
            }
            if (r.type == RecordType::LineTo)
                r.type = RecordType::MoveToEx; // the pen moves, no rule is drawn
        }
        int advance = 0;
        for (int d : t.dx)
            advance += d;
        // The text's cells with a margin as high as a character on every side.
        const int x0 = t.x - t.height, y0 = t.y - t.height;
        QImage img(int((advance + 2 * t.height) * px), int(3 * t.height * px), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        const QSizeF paper = qd::qt::pagePaperSizeMm(page) * 10 * px;
        qd::qt::playPage(alone, painter, QRectF(QPointF(-x0 * px, -y0 * px), paper));
        painter.end();
        int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
        const int width = img.width(), height = img.height();
        for (int y = 0; y < height; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (int x = 0; x < width; ++x)
                if (line[x] != 0xFFFFFFFFu && qGray(line[x]) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        }
        if (right < 0)
            inks.push_back({1, 1, 0, 0});
        else
            inks.push_back({x0 + left / px, y0 + top / px, x0 + (right + 1) / px, y0 + (bottom + 1) / px});
    }
    return inks;
}

} // namespace qd::testing
