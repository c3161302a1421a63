#include "quotedesk/printing/printer.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/files/safe_replace.h"
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
    m_destination = destination;
    if (destination.toPdf) {
        m_pdfBytes = std::make_unique<QBuffer>();
        m_pdfBytes->open(QIODevice::WriteOnly);
        auto pdf = std::make_unique<QPdfWriter>(m_pdfBytes.get());
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
        m_pdfBytes.reset();
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

bool PageOutput::end(QString *error)
{
    if (!m_painter)
        return false;
    bool ok = m_painter->end();
    m_painter.reset();
    m_device.reset();
    if (error)
        *error = m_destination.printerName;
    if (m_pdfBytes) {
        const QByteArray bytes = m_pdfBytes->data();
        m_pdfBytes.reset();
        const std::string file = qd::files::systemPath(m_destination.pdfFile);
        if (error)
            *error = QString::fromStdString(file);
        if (ok) {
            try {
                qd::files::writeFileSafely(file, std::string_view(bytes.constData(), std::size_t(bytes.size())));
            } catch (const qd::files::FileError &e) {
                if (error)
                    *error = QString::fromStdString(qd::files::failureText(e));
                ok = false;
            }
        }
    }
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
