// The forms below the main window (the edit tool window, the unit-price search, the print forms)
// know nothing of it: each reaches the main window through a small interface of its own, which
// the main program implements here on KIHON, and the program's form registry builds them with it.
#pragma once

#include <memory>

#include "quotedesk/printing/print_context.h"
#include "quotedesk/sheet/selection.h"

namespace qd::forms {

class QuotedeskApp;

// Tells the program's form registry how to build the forms that take their links to the main
// window; run once by QuotedeskApp before any form is used.
void defineLinkedForms(QuotedeskApp &app);

// Makes app.editTool() the real HENSYU_MENU (loaded hidden on first use).
void installEditTool(QuotedeskApp &app);

// What the sheet's edit commands ask of the windows: the current sheet's focus, the edit tool
// window's value box, the main window's cell editor.
std::unique_ptr<qd::sheet::EditCommandUi> makeEditCommandUi(QuotedeskApp &app);

// The print forms of the main program, made on first use and kept while the program runs.
qd::printing::PrintContext &printContext(QuotedeskApp &app);
// The print menu's commands on the program's main window and print forms.
void PRN_HAKKOBI_Click(QuotedeskApp &app);
void PRN_PRINT_Click(QuotedeskApp &app);

} // namespace qd::forms
