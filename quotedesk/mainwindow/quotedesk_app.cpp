#include "quotedesk/mainwindow/quotedesk_app.h"

#include <QCoreApplication>

#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/mainwindow/kihon.h"
#include "quotedesk/mainwindow/syohizei_calc_frm.h"

namespace qd::forms {

QuotedeskApp::QuotedeskApp()
    : endProgram([] { QCoreApplication::quit(); })
{
    defineLinkedForms(*this);
}

QuotedeskApp::~QuotedeskApp()
{
    // The forms go first (the main window last), while the globals they use still stand.
    forms.clear();
}

KIHON &QuotedeskApp::kihon()
{
    return forms.get<KIHON>();
}

bool QuotedeskApp::hasKihon()
{
    return forms.isLoaded<KIHON>();
}

EditToolWindow &QuotedeskApp::editTool()
{
    if (editToolProvider)
        return editToolProvider();
    if (!m_editToolStandIn)
        m_editToolStandIn = std::make_unique<EditToolStandIn>();
    return *m_editToolStandIn;
}

bool QuotedeskApp::editToolLoaded() const
{
    if (editToolIsLoaded)
        return editToolIsLoaded();
    return m_editToolStandIn != nullptr;
}

void QuotedeskApp::unloadEditTool()
{
    if (editToolUnloader)
        editToolUnloader();
    m_editToolStandIn.reset();
}

} // namespace qd::forms
