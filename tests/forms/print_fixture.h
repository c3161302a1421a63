// Helpers of the printing tests: the words of a PDF as poppler's pdftotext reads them, beside the
// texts and rules of a page image file.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <vector>

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

} // namespace qd::testing
