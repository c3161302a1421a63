// Everything the print forms share: the program's globals, the main window as printing sees
// it, the three forms of printing and the printers of the system.
//
// The main program keeps one PrintContext for its lifetime (its form links); a test builds
// one on a state and a host of its own.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

#include "platform/files/file_lock.h"
#include "platform/qt/forms.h"
#include "quotedesk/core/qd_state.h"

class QWidget;

namespace qd::printing {

class MITUMORI;
class FM;
class PRNT;

// What printing uses of the main window KIHON.
class PrintHost {
public:
    virtual ~PrintHost() = default;
    // KIHON itself (its Enabled property), or nullptr.
    virtual QWidget *mainWindow() = 0;
    virtual void setMainEnabled(bool enabled) = 0;
    // The entries of KIHON.Combo5, the tax breakdown by rate ("10.00 01").
    virtual std::vector<std::string> taxEntries() = 0;
    // KIHON.MousePointer (0 the default pointer).
    virtual void setMousePointer(int pointer) = 0;
    // The focus to the current sheet.
    virtual void focusSheet() = 0;
    // Starts an outside program of the install folder ("\SETTEI.EXE") as the launch menu
    // starts the tools, telling the user when it is not there; whether it started.
    virtual bool startProgram(const QString &literal) = 0;
};

struct PrintContext {
    PrintContext(qd::core::QdState &state, PrintHost &host);
    ~PrintContext();
    PrintContext(const PrintContext &) = delete;
    PrintContext &operator=(const PrintContext &) = delete;

    qd::core::QdState &g;
    PrintHost &host;

    qd::qt::SingleForm<MITUMORI> mitumori; // the print dialog
    qd::qt::SingleForm<FM> fm;             // the progress window with the stop button
    qd::qt::SingleForm<PRNT> prnt;         // the preview

    // The printers of the system and the default one (by default from the print system).
    std::function<QStringList()> availablePrinters;
    std::function<QString()> defaultPrinter;

    // The page images of the install folder, held for this program's print run from the print
    // command until the print dialog or the preview closes.
    qd::files::FileLock printRun;
    // Takes them for the print run, waiting a little for another program's run; false (the user
    // told which file is in use) when that run goes on.
    bool holdPageImages();
    // Gives them up once neither the print dialog nor the preview is open.
    void endPrintRun();

    // What a print command leaves when a failure stops it half way: the progress window, the
    // print dialog and the preview closed, the page images given up, the sheets drawn, the
    // pointer normal and the main window taking input again with the focus on its sheet.
    void afterFailedCommand();
    // A handler of the print forms through the program's command guard with the recovery above.
    void runGuarded(const std::function<void()> &handler);
    std::function<void()> guarded(std::function<void()> handler);
    bool runGuardedFilter(const std::function<bool()> &handler);
};

} // namespace qd::printing
