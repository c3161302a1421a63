// The printer of printing: the system's default printer with A4 landscape paper and no
// margins, or, on a machine without a printer, a PDF file. A page image is played so that its
// paper fills the paper of the sheet from the sheet's top-left corner: one layout unit is
// 0.1 mm on paper. A PDF file is written whole when the document ends, through the file layer:
// a failure leaves a file of that name as it was.
#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/emf/page_image.h"

class QBuffer;
class QPagedPaintDevice;
class QPainter;

namespace qd::printing {

struct PrintDestination {
    bool toPdf = false;
    QString printerName;           // the default printer, when printing on paper
    std::filesystem::path pdfFile; // the file, when there is no printer
};

// The default printer (or the first one) when `printers` has any, else `pdfFile`.
PrintDestination choosePrintDestination(const QStringList &printers, const QString &defaultPrinter,
                                        const std::filesystem::path &pdfFile);

// One printed document, page by page.
class PageOutput {
public:
    PageOutput();
    ~PageOutput();
    PageOutput(const PageOutput &) = delete;
    PageOutput &operator=(const PageOutput &) = delete;

    // Starts the document; false (with `error` set) when the printer cannot be opened.
    bool begin(const PrintDestination &destination, const QString &documentName, QString *error);
    // One sheet with the page on it; no blank sheet follows the last page.
    void printPage(const qd::emf::PageImage &page);
    // Ends the document: the sheets printed so far are complete, a PDF file is written. False
    // when it failed, with `error` set to the printer, or to the file and the system's reason.
    bool end(QString *error = nullptr);
    int pages() const { return m_pages; }

private:
    PrintDestination m_destination;
    std::unique_ptr<QBuffer> m_pdfBytes; // the PDF file until it is written
    std::unique_ptr<QPagedPaintDevice> m_device;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
};

// Plays the pages into a PDF file of A4 landscape sheets. False when it cannot be written.
bool writePdf(const std::vector<qd::emf::PageImage> &pages, const std::filesystem::path &file,
              const QString &documentName = {});

} // namespace qd::printing
