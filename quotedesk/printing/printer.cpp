#include "quotedesk/printing/printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "platform/qt/page_player.h"

namespace qd::printing {

namespace {

QPageLayout a4Landscape()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
}

} // namespace

PrintDestination choosePrintDestination(const QStringList &printers, const QString &defaultPrinter,
                                        const std::filesystem::path &pdfFile)
{
    PrintDestination d;
    if (printers.isEmpty()) {
        d.toPdf = true;
        d.pdfFile = pdfFile;
        return d;
    }
    d.printerName = printers.contains(defaultPrinter) ? defaultPrinter : printers.first();
    return d;
}

PageOutput::PageOutput() = default;

PageOutput::~PageOutput()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

bool PageOutput::begin(const PrintDestination &destination, const QString &documentName, QString *error)
{
    if (destination.toPdf) {
        auto pdf = std::make_unique<QPdfWriter>(QString::fromStdString(destination.pdfFile.string()));
        pdf->setResolution(1200);
        pdf->setTitle(documentName);
        pdf->setCreator(QStringLiteral("quotedesk"));
        pdf->setPageLayout(a4Landscape());
        m_device = std::move(pdf);
    } else {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setPrinterName(destination.printerName);
        printer->setDocName(documentName);
        printer->setFullPage(true); // the painter's origin is the corner of the sheet
        printer->setPageLayout(a4Landscape());
        m_device = std::move(printer);
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_device.get())) {
        if (error)
            *error = destination.toPdf ? QString::fromStdString(destination.pdfFile.string())
                                       : destination.printerName;
        m_painter.reset();
        m_device.reset();
        return false;
    }
    m_pages = 0;
    return true;
}

void PageOutput::printPage(const qd::emf::PageImage &page)
{
    if (!m_painter)
        return;
    if (m_pages > 0)
        m_device->newPage();
    const QSizeF mm = qd::qt::pagePaperSizeMm(page);
    const double dpmmX = m_device->logicalDpiX() / 25.4;
    const double dpmmY = m_device->logicalDpiY() / 25.4;
    qd::qt::playPage(page, *m_painter, QRectF(0, 0, mm.width() * dpmmX, mm.height() * dpmmY));
    ++m_pages;
}

bool PageOutput::end()
{
    if (!m_painter)
        return false;
    const bool ok = m_painter->end();
    m_painter.reset();
    m_device.reset();
    return ok;
}

bool writePdf(const std::vector<qd::emf::PageImage> &pages, const std::filesystem::path &file,
              const QString &documentName)
{
    PrintDestination d;
    d.toPdf = true;
    d.pdfFile = file;
    PageOutput out;
    if (!out.begin(d, documentName, nullptr))
        return false;
    for (const qd::emf::PageImage &p : pages)
        out.printPage(p);
    return out.end();
}

} // namespace qd::printing
