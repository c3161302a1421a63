#include "quotedesk/printing/print_command.h"

#include <QDate>
#include <QPushButton>
#include <QRadioButton>
#include <QPrinterInfo>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/qt/command_guard.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/compose/page_print.h"
#include "quotedesk/compose/print_source.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/printing/fm.h"
#include "quotedesk/printing/mitumori.h"
#include "quotedesk/printing/prnt.h"

namespace qd::printing {

namespace {

std::string today() { return QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString(); }

// The fixed-length text of ISSUE_DATE: 10 characters, cut or padded with blanks.
std::string issueDateField(std::string_view s) { return qd::text::fixedChars(s, 10); }

} // namespace

PrintContext::PrintContext(qd::core::QdState &state, PrintHost &printHost)
    : g(state), host(printHost),
      mitumori([this] { return new MITUMORI(*this); }),
      fm([this] { return new FM(*this); }),
      prnt([this] { return new PRNT(*this); }),
      availablePrinters([] { return QPrinterInfo::availablePrinterNames(); }),
      defaultPrinter([] { return QPrinterInfo::defaultPrinterName(); })
{
}

PrintContext::~PrintContext() = default;

bool PrintContext::holdPageImages()
{
    if (printRun.held())
        return true; // this program's run goes on
    try {
        printRun = lockPageImages(g);
    } catch (const qd::files::LockBusy &e) {
        qd::qt::beep();
        qd::qt::msgBox(qd::qt::twoLines(QStringLiteral("他のプログラムが印刷中です。"),
                                        QString::fromStdString(qd::files::failureText(e))),
                       qd::qt::Buttons::Ok, {}, qd::qt::Icon::Warning);
        return false;
    } catch (const qd::files::FileError &) {
        // No lock can be made there (data folder missing): composing says what is wrong.
    }
    return true;
}

void PrintContext::endPrintRun()
{
    if (!mitumori.isLoaded() && !prnt.isLoaded())
        printRun.release();
}

void PrintContext::afterFailedCommand()
{
    qd::core::afterFailedCommand(g);
    fm.unload();
    mitumori.unload();
    prnt.unload();
    printRun.release();
    g.PRN_FROM = g.PRN_TO = 0;
    host.setMousePointer(0);
    host.setMainEnabled(true);
    host.focusSheet();
}

void PrintContext::runGuarded(const std::function<void()> &handler)
{
    qd::qt::runGuarded(handler, [this] { afterFailedCommand(); });
}

std::function<void()> PrintContext::guarded(std::function<void()> handler)
{
    return [this, handler = std::move(handler)] { runGuarded(handler); };
}

bool PrintContext::runGuardedFilter(const std::function<bool()> &handler)
{
    return qd::qt::runGuardedFilter(handler, [this] { afterFailedCommand(); });
}

void PRN_HAKKOBI_Click(qd::core::QdState &g)
{
    const QString answer = qd::qt::inputBox(QStringLiteral("発行日を入れてください。"), QStringLiteral("印刷発行日の設定"),
                                            QString::fromStdString(qd::text::format(g.ISSUE_DATE_NUM, "00000000")));
    g.ISSUE_DATE = issueDateField(answer.toStdString());
    g.ISSUE_DATE = issueDateField(qd::text::trim(g.ISSUE_DATE));
    if (qd::text::val(g.ISSUE_DATE) == 0)
        g.ISSUE_DATE = issueDateField(today());
    g.ISSUE_DATE = issueDateField(qd::text::trim(g.ISSUE_DATE));
    g.ISSUE_DATE_NUM = qd::text::valFixed(g.ISSUE_DATE);
}

void loadOwnCompany(qd::core::QdState &g)
{
    try {
        qd::records::SYSF_OPEN(g);
        if (g.SYSF_CTL.recordCount >= 1) {
            g.SYSF_CTL.currentRecord = 1;
            qd::records::SYSF_REC_CLEAR(g);
            g.SYSF_CTL.get(1, g.SYSF_REC);
            qd::records::SYSF_TO_GLOBALS(g);
        }
    } catch (const std::exception &) {
        // an unreadable own-company file leaves the values it gave last time
    }
    g.SYSF_CTL.close();
}

bool refuseTotalsBeyondPrint(const qd::core::QdState &g)
{
    const std::vector<std::string> names = totalsBeyondPrint(g);
    if (names.empty())
        return false;
    QString which;
    for (const std::string &n : names)
        which += (which.isEmpty() ? QString() : QStringLiteral("・")) + QString::fromStdString(n);
    qd::qt::beep();
    qd::qt::msgBox(qd::qt::twoLines(
                       QStringLiteral("合計が大きすぎるため印刷できません。"),
                       QStringLiteral("%1が印刷できる範囲（-2,147,483,648～2,147,483,647円）を超えています。").arg(which)),
                   qd::qt::Buttons::Ok, {}, qd::qt::Icon::Warning);
    return true;
}

namespace {

void printCommand(PrintContext &ctx)
{
    qd::core::QdState &g = ctx.g;
    // Totals beyond what a page holds would print at their limit: nothing is printed then, and
    // the last run's page images stay as they were.
    if (refuseTotalsBeyondPrint(g))
        return;
    g.PAGE_NO = 0;
    g.PRN_FROM = 0;
    g.PRN_TO = 0;
    // The last run's page images go only when no other program's run is still using them.
    if (!ctx.holdPageImages())
        return;
    deletePageImages(g);
    g.PRN_AMOUNT_SUM = 0;
    loadOwnCompany(g);
    if (qd::text::trim(g.CUR_DOC_NAME).empty()) {
        ctx.endPrintRun();
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("見積の属性を設定してください。"));
        return;
    }
    qd::qt::beep();
    const int answer = qd::qt::msgBox(QStringLiteral("消費税印刷しますか？"), qd::qt::Buttons::YesNo);
    g.TAX_PRINT = answer == qd::qt::Answer::Yes ? 1 : 0;
    ctx.host.setMainEnabled(false);

    MITUMORI &dialog = ctx.mitumori.get();
    dialog.Form_Load();
    qd::qt::showModeless(&dialog);
    // Taking the focus selects the first option: the 呼称 goes beside the product name.
    dialog.Option1->setFocus();
    dialog.Option1->setChecked(true);
    dialog.Option1_Click();
    switch (g.DOC_KIND) {
    case 0: dialog.Command2->setText(QStringLiteral("見積書印刷")); break;
    case 1: dialog.Command2->setText(QStringLiteral("請求書印刷")); break;
    case 2: dialog.Command2->setText(QStringLiteral("納品書印刷")); break;
    default: break;
    }
    if (g.PRN_OPTION == 1)
        dialog.Option3->setChecked(true);
    else if (g.PRN_OPTION == 0)
        dialog.Option4->setChecked(true);
    dialog.Option5->setChecked(true);
}

} // namespace

void PRN_PRINT_Click(PrintContext &ctx)
{
    ctx.runGuarded([&] { printCommand(ctx); });
}

} // namespace qd::printing
