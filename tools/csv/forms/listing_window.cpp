#include "tools/csv/forms/listing_window.h"

#include <QLabel>
#include <QPushButton>

#include "platform/qt/list_box.h"

namespace qd::csv {

using namespace qd::qt;

ListingWindow::ListingWindow(const CsvTable &table, CsvState &state) : CsvWindow(table, state) {}

void ListingWindow::connectEvents()
{
    const auto guardedClick = [this](QPushButton *button, void (ListingWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    guardedClick(Command1, &ListingWindow::Command1_Click);
    guardedClick(Command2, &ListingWindow::Command2_Click);
    guardedClick(Command4, &ListingWindow::Command4_Click);
    guardedClick(Command5, &ListingWindow::Command5_Click);
    guardedClick(Command3, &ListingWindow::Command3_Click);
    connect(List1, &ListBox::Click, this, [this] { guarded([this] { List1_Click(); }); });
}

void ListingWindow::load(double widthTwips, double heightTwips)
{
    placeCentred(widthTwips, heightTwips);
    Label2->hide();
    Command4->setEnabled(false);
    showModeless(this);
    Command3->setFocus();
}

void ListingWindow::listed()
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    List1->setFocus();
}

void ListingWindow::runListed(const std::function<void(bool exporting)> &run,
                              const std::function<QString()> &importNote)
{
    beep();
    if (g.MODE == 1) {
        showExportNotice(Label2, table().word);
        if (ask(QStringLiteral("よろしいですか？")))
            run(true);
    } else if (g.MODE == 2) {
        if (ask(importQuestion(table().word, importNote ? importNote() : QString())))
            run(false);
    }
    backToStart();
    Command3->setFocus();
}

void ListingWindow::backToStart()
{
    List1->clearLines();
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    Command4->setEnabled(false);
}

} // namespace qd::csv
