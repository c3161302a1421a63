// A product picker on the entry fixture's install folder and document, with every dialog
// answered by a scripted seam.
#pragma once

#include <QCoreApplication>
#include <QPointer>

#include "platform/qt/scripted_seam.h"
#include "quotedesk/core/documents.h"
#include "tests/forms/entry_fixture.h"

namespace qd::entry_test {

template <class Form>
struct PickerDesk {
    qd::core::NullCoreUi ui;
    EntryDesk desk{ui};
    qd::core::QdState &g = desk.g;
    qd::qt::ScriptedSeam seam;
    qd::qt::SeamGuard guard{seam};
    QPointer<Form> form;

    ~PickerDesk()
    {
        delete form.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Loads the picker as the main window's menu does: the line work fields blanked first.
    Form &open()
    {
        qd::core::LINE_REC_CLEAR(g);
        form = new Form(g);
        return *form;
    }
};

} // namespace qd::entry_test
