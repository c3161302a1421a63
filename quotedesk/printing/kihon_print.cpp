// The print commands of the main program: printing sees the main window KIHON through a
// PrintHost, and one PrintContext lives as long as the program's forms.
#include <QComboBox>

#include "platform/qt/grid_view.h"
#include "quotedesk/mainwindow/kihon.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/printing/print_command.h"

namespace qd::printing {

namespace {

class KihonPrintHost : public PrintHost {
public:
    explicit KihonPrintHost(qd::forms::QuotedeskApp &app) : m_app(app) {}

    QWidget *mainWindow() override { return m_app.hasKihon() ? &m_app.kihon() : nullptr; }
    void setMainEnabled(bool enabled) override
    {
        if (QWidget *w = mainWindow())
            w->setEnabled(enabled);
    }
    std::vector<std::string> taxEntries() override
    {
        std::vector<std::string> out;
        if (!m_app.hasKihon())
            return out;
        const QComboBox *combo = m_app.kihon().Combo5;
        for (int i = 0; combo && i < combo->count(); ++i)
            out.push_back(combo->itemText(i).toStdString());
        return out;
    }
    void setMousePointer(int pointer) override
    {
        if (m_app.hasKihon())
            m_app.kihon().setMousePointer(pointer);
    }
    void focusSheet() override
    {
        if (m_app.hasKihon())
            m_app.kihon().currentGridView().setFocus();
    }

private:
    qd::forms::QuotedeskApp &m_app;
};

} // namespace

// The holder of the program's print forms among its other forms; it shows nothing.
class PrintDesk : public QWidget {
public:
    explicit PrintDesk(qd::forms::QuotedeskApp &app) : host(app), context(app.g, host) {}
    KihonPrintHost host;
    PrintContext context;
};

PrintContext &printContext(qd::forms::QuotedeskApp &app) { return app.forms.get<PrintDesk>().context; }

void PRN_HAKKOBI_Click(qd::forms::QuotedeskApp &app) { PRN_HAKKOBI_Click(app.g); }

void PRN_PRINT_Click(qd::forms::QuotedeskApp &app) { PRN_PRINT_Click(printContext(app)); }

} // namespace qd::printing
