// A maintenance tool in a temporary install folder with an empty data folder, started from that
// folder (the tools take their working folder as the install folder), every dialog answered by a
// scripted seam on a screen of 1280 x 800 pixels.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files/fault_plan.h"
#include "platform/qt/entry_box.h"
#include "platform/qt/list_box.h"
#include "platform/qt/scripted_seam.h"
#include "platform/text/cp932.h"
#include "records/record.h"
#include "tests/support/temp_install.h"
#include "tools/maintenance/lib/list_editor.h"
#include "tools/maintenance/lib/list_tools.h"

namespace qd::testing {

class MaintTest : public ::testing::Test {
protected:
    MaintTest()
    {
        std::filesystem::create_directories(inst.data());
        m_oldDir = std::filesystem::current_path();
        std::filesystem::current_path(inst.path());
        seam.setScreenSizeOverride(qd::qt::ScreenSize{1280, 800, 96, 96, 0, 0});
    }
    ~MaintTest() override { std::filesystem::current_path(m_oldDir); }
    void TearDown() override { EXPECT_EQ(seam.problems().toStdString(), ""); }

    static const qd::maint::ListTool &tool(const char *program) { return *qd::maint::findListTool(program); }

    // The tool's window, loaded.
    std::unique_ptr<qd::maint::ListEditor> open(const char *program)
    {
        auto f = std::make_unique<qd::maint::ListEditor>(tool(program));
        f->Form_Load();
        QApplication::setActiveWindow(f.get());
        return f;
    }

    // A live record of the tool's master, as the tool writes one.
    static qd::records::Record record(const qd::maint::ListTool &t, int code, const std::string &name, int major = 0,
                                      int price = 0, int cost = 0)
    {
        qd::records::Record r(t.layout());
        r.setNumber(t.codeField, code, t.codePattern);
        r.setText(t.nameField, name);
        if (t.twoLevel())
            r.setNumber(t.majorField, major, "00");
        if (t.hasPrices()) {
            r.setNumber(t.priceField, price, "0000000");
            r.setNumber(t.costField, cost, "0000000");
        }
        r.setSeparators();
        return r;
    }
    static std::string joined(const std::vector<qd::records::Record> &records)
    {
        std::string bytes;
        for (const auto &r : records)
            bytes += r.bytes();
        return bytes;
    }
    std::filesystem::path file(const char *name) const { return inst.data() / name; }
    // A master of three records out of code order (5, 3, 1), the second one marked deleted;
    // returns its bytes.
    static std::string writeThreeWithADeletedOne(const qd::maint::ListTool &t, const std::filesystem::path &master)
    {
        qd::records::Record deleted = record(t, 3, "X");
        t.markDeleted(deleted);
        const std::string bytes = joined({record(t, 5, "E"), deleted, record(t, 1, "A")});
        writeBytes(master, bytes);
        return bytes;
    }

    // Typing into a box as a user does: the focus comes, the text is typed, a key ends it.
    static void type(qd::qt::EntryBox *box, const QString &text, int key = 13)
    {
        box->setFocus();
        box->setText(text);
        box->KeyDown(key);
    }
    // Typing into a box as a user does, with no key to end it: the typed text replaces what the
    // box selected when it got the focus.
    static void typeOnly(qd::qt::EntryBox *box, const QString &text)
    {
        box->setFocus();
        box->insert(text);
    }
    // A click on a button: the button takes the focus (where it takes one from a click), then
    // runs its command.
    static void press(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    static QStringList lines(const qd::qt::ListBox *list)
    {
        QStringList out;
        for (int i = 0; i < list->lineCount(); ++i)
            out << list->lineText(i);
        return out;
    }
    static int lineStartingWith(const qd::qt::ListBox *list, const QString &start)
    {
        for (int i = 0; i < list->lineCount(); ++i)
            if (list->lineText(i).startsWith(start))
                return i;
        return -1;
    }
    static QWidget *focus() { return QApplication::focusWidget(); }


    TempInstall inst{TempInstall::Content::Empty};
    qd::qt::ScriptedSeam seam;
    qd::qt::SeamGuard guard{seam};

private:
    std::filesystem::path m_oldDir;
};

inline const QString NUMBER_MESSAGE = QStringLiteral("数値を入力して下さい！");
inline const QString CHANGED_MESSAGE = QStringLiteral("他のプログラムがこのファイルを書き換えました。\r"
                                                      "一覧を読み直しました。もう一度選んで下さい。");

} // namespace qd::testing
