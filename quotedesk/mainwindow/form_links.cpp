#include "quotedesk/mainwindow/form_links.h"

#include <QComboBox>
#include <QLineEdit>

#include "platform/qt/grid_view.h"
#include "quotedesk/entry/ssgarasufm.h"
#include "quotedesk/entry/sskensa.h"
#include "quotedesk/entry/ssset.h"
#include "quotedesk/mainwindow/kihon.h"
#include "quotedesk/mainwindow/launcher.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/printing/print_command.h"
#include "quotedesk/sheet/hensyu_menu.h"

namespace qd::forms {

namespace {

class AppEditUi : public qd::sheet::EditCommandUi {
public:
    explicit AppEditUi(QuotedeskApp &app) : m_app(app) {}

    void focusSheet() override
    {
        if (m_app.hasKihon())
            if (QWidget *sheet = m_app.kihon().Grid1.at(static_cast<std::size_t>(m_app.g.CUR_SLOT)))
                sheet->setFocus();
    }
    void setValueBoxText(const std::string &text) override
    {
        m_app.editTool().setValueText(QString::fromStdString(text));
    }
    void setCellEditorText(const std::string &text) override
    {
        if (m_app.hasKihon() && m_app.kihon().Text1)
            m_app.kihon().Text1->setText(QString::fromStdString(text));
    }

private:
    QuotedeskApp &m_app;
};

// Printing sees the main window KIHON through this.
class KihonPrintHost : public qd::printing::PrintHost {
public:
    explicit KihonPrintHost(QuotedeskApp &app) : m_app(app) {}

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
    bool startProgram(const QString &literal) override { return launchProgram(m_app.g.INST_DIR, literal); }

private:
    QuotedeskApp &m_app;
};

} // namespace

// The holder of the program's print forms among its other forms; it shows nothing.
class PrintDesk : public QWidget {
public:
    explicit PrintDesk(QuotedeskApp &app) : host(app), context(app.g, host) {}
    KihonPrintHost host;
    qd::printing::PrintContext context;
};

void defineLinkedForms(QuotedeskApp &app)
{
    app.forms.define<SSKENSA>([&app] {
        return new SSKENSA(app.g, &app.kihon(), [&app] { app.forms.unload<SSKENSA>(); });
    });
    app.forms.define<SSSET>([&app] { return new SSSET(app.g, &app.kihon(), [&app] { app.forms.unload<SSSET>(); }); });
    app.forms.define<SSGARASUFM>([&app] {
        return new SSGARASUFM(app.g, &app.kihon(), [&app] { app.forms.unload<SSGARASUFM>(); });
    });
    app.forms.define<HENSYU_MENU>([&app] {
        return new HENSYU_MENU(app.g, app.hasKihon() ? &app.kihon() : nullptr, makeEditCommandUi(app));
    });
}

void installEditTool(QuotedeskApp &app)
{
    app.editToolProvider = [&app]() -> EditToolWindow & { return app.forms.get<HENSYU_MENU>(); };
    app.editToolIsLoaded = [&app] { return app.forms.isLoaded<HENSYU_MENU>(); };
    app.editToolUnloader = [&app] { app.forms.unload<HENSYU_MENU>(); };
}

std::unique_ptr<qd::sheet::EditCommandUi> makeEditCommandUi(QuotedeskApp &app)
{
    return std::make_unique<AppEditUi>(app);
}

qd::printing::PrintContext &printContext(QuotedeskApp &app) { return app.forms.get<PrintDesk>().context; }

void PRN_HAKKOBI_Click(QuotedeskApp &app) { qd::printing::PRN_HAKKOBI_Click(app.g); }

void PRN_PRINT_Click(QuotedeskApp &app) { qd::printing::PRN_PRINT_Click(printContext(app)); }

} // namespace qd::forms
