#include "quotedesk/printing/fm.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/forms.h"
#include "platform/qt/seam.h"
#include "quotedesk/printing/form_look.h"
#include "quotedesk/printing/print_context.h"

namespace qd::printing {

FM::FM(PrintContext &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("FM"));
    setWindowTitle(QString());
    setBackColor(this, kLightYellow);
    // Modal: while a walk runs, every other window of the program ignores input.
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    Command1 = new QPushButton(QStringLiteral("印刷中止"), this);
    qd::qt::setGeometryTwips(Command1, 360, 120, 1575, 375);
    Command1->setAutoDefault(true); // Enter on the focused button presses it, as Space does
    Label1 = new QLabel(QStringLiteral("ページ"), this);
    qd::qt::setGeometryTwips(Label1, 720, 600, 855, 255);
    Label1->setAlignment(Qt::AlignCenter);
    QPalette lp = Label1->palette();
    lp.setColor(QPalette::Window, QColor(128, 255, 255));
    lp.setColor(QPalette::WindowText, Qt::blue);
    Label1->setPalette(lp);
    Label1->setAutoFillBackground(true);
    Text1 = new QLineEdit(this);
    qd::qt::setGeometryTwips(Text1, 720, 840, 855, 405);
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    connect(Command1, &QPushButton::clicked, this, m_ctx.guarded([this] { Command1_Click(); }));
}

void FM::Form_Load()
{
    const qd::qt::ScreenSize s = qd::qt::screen();
    qd::qt::setGeometryTwips(this, (s.widthTwips() - 2340) / 2, (s.heightTwips() - 1815) / 2, 2340, 1815);
    show();
    raise();
    activateWindow();
    Command1->setFocus();
    qd::qt::doEvents();
}

void FM::Command1_Click() { m_ctx.g.PRN_CANCEL = 9; }

void FM::closeEvent(QCloseEvent *event)
{
    // The frame's close box asks for the stop; the walk closes the window when it stops.
    event->ignore();
    m_ctx.runGuarded([this] { Command1_Click(); });
}

} // namespace qd::printing
