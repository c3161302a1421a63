// The program's unit-price search: built by the form registry of QuotedeskApp, above KIHON.
#include "quotedesk/entry/sskensa.h"

#include "quotedesk/mainwindow/kihon.h"
#include "quotedesk/mainwindow/quotedesk_app.h"

namespace qd::forms {

SSKENSA::SSKENSA(QuotedeskApp &app) : SSKENSA(app.g, &app.kihon())
{
    m_unload = [&app] { app.forms.unload<SSKENSA>(); };
}

} // namespace qd::forms
