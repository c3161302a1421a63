// The real dialogs of QtSeam, driven by a timer that answers them as a user would.
#include "platform/qt/qt_seam.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include "tests/qtsupport/dialog_driver.h"

using namespace qd::qt;

using qd::testing::clickButton;
using qd::testing::DialogDriver;

TEST(QtSeamDialogs, MessageBoxButtonsGiveTheAnswerCodes)
{
    QtSeam qt;
    struct {
        Buttons buttons;
        const char *click;
        int answer;
    } const cases[] = {{Buttons::Ok, "OK", Answer::Ok},
                       {Buttons::YesNo, "はい", Answer::Yes},
                       {Buttons::YesNo, "いいえ", Answer::No},
                       {Buttons::OkCancel, "キャンセル", Answer::Cancel}};
    for (const auto &c : cases) {
        DialogDriver driver({{"QMessageBox", [&](QWidget *w) { clickButton(w, QString::fromUtf8(c.click)); }}});
        EXPECT_EQ(qt.messageBox({QStringLiteral("一行目\n\r\n\r二行目"), QStringLiteral("題"), c.buttons}),
                  c.answer)
            << c.click;
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(driver.seenTexts, QStringList{QStringLiteral("一行目\n\n二行目")});
    }

    // Esc on a question answers No.
    DialogDriver driver({{"QMessageBox", [](QWidget *w) { static_cast<QDialog *>(w)->reject(); }}});
    EXPECT_EQ(qt.messageBox({QStringLiteral("終了しますか？"), {}, Buttons::YesNo}), Answer::No);
}

TEST(QtSeamDialogs, SaveAsksBeforeReplacingAFileOfAnyLetterCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile existing(dir.filePath(QStringLiteral("A.TXT")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    FileDialogRequest request;
    request.initDir = dir.path();
    request.filter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|");
    request.fileName = QStringLiteral("*.TXT");
    request.flags = OverwritePromptFlag;
    request.cancelError = true;

    auto typeAndSave = [](QWidget *w) {
        auto *edit = w->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(QStringLiteral("a.txt"));
        QMetaObject::invokeMethod(w, "accept");
    };
    QtSeam qt;
    {
        // No: back in the dialog, which is then cancelled.
        DialogDriver driver({{"QFileDialog", typeAndSave},
                             {"QMessageBox", [](QWidget *w) { clickButton(w, QStringLiteral("いいえ")); }},
                             {"QFileDialog", [](QWidget *w) { static_cast<QDialog *>(w)->reject(); }}});
        EXPECT_TRUE(qt.showSave(request).cancelled);
        EXPECT_TRUE(driver.done());
        ASSERT_EQ(driver.seenTexts.size(), 1);
        EXPECT_EQ(driver.seenTexts[0], QStringLiteral("A.TXTは既に存在します。上書きしますか？"));
    }
    {
        DialogDriver driver({{"QFileDialog", typeAndSave},
                             {"QMessageBox", [](QWidget *w) { clickButton(w, QStringLiteral("はい")); }}});
        const FileDialogResult r = qt.showSave(request);
        EXPECT_TRUE(driver.done());
        ASSERT_FALSE(r.cancelled);
        EXPECT_EQ(r.fileTitle, QStringLiteral("A.TXT"));
        EXPECT_EQ(QFileInfo(r.fileName).canonicalFilePath(), QFileInfo(existing).canonicalFilePath());
    }
}

TEST(QtSeamDialogs, DialogsComeUpCentredOnTheWindowTheyBelongTo)
{
    // The program's main window, and a tool window floating over it at its right edge that has
    // the focus, as the edit tool window has after a click on one of its buttons.
    QWidget main;
    main.setGeometry(30, 20, 720, 540); // inside the offscreen screen of 800 x 600
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    QWidget tool(nullptr, Qt::Tool);
    tool.setGeometry(560, 420, 200, 100);
    tool.winId();
    tool.windowHandle()->setTransientParent(main.windowHandle());
    tool.show();
    tool.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tool));

    QPoint centre;
    auto note = [&](QWidget *w) {
        centre = w->frameGeometry().center();
        static_cast<QDialog *>(w)->reject();
    };
    QtSeam qt;
    const QPoint mainCentre = main.frameGeometry().center();
    {
        DialogDriver driver({{"QMessageBox", note}});
        qt.messageBox({QStringLiteral("消費税印刷しますか？"), {}, Buttons::YesNo});
        ASSERT_TRUE(driver.done());
        EXPECT_LE((centre - mainCentre).manhattanLength(), 2) << "message box";
    }
    {
        DialogDriver driver({{"QInputDialog", note}});
        qt.inputBox({QStringLiteral("発行日を入れてください。"), {}, {}});
        ASSERT_TRUE(driver.done());
        EXPECT_LE((centre - mainCentre).manhattanLength(), 2) << "input box";
    }
    {
        DialogDriver driver({{"QFileDialog", note}});
        qt.showSave({});
        ASSERT_TRUE(driver.done());
        EXPECT_LE((centre - mainCentre).manhattanLength(), 2) << "file dialog";
    }
}

TEST(QtSeamDialogs, FileDialogSpeaksJapaneseAndListsNamesOfEitherCase)
{
    setUpProgram(QApplication::applicationName());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"a.txt", "B.TXT", "c.csv"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    FileDialogRequest request;
    request.initDir = dir.path();
    request.filter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|");
    request.fileName = QStringLiteral("*.TXT");

    QStringList listed;
    QString header, filterShown;
    DialogDriver driver({{"QFileDialog", [&](QWidget *w) {
                              auto *model = w->findChild<QFileSystemModel *>();
                              ASSERT_NE(model, nullptr);
                              const QModelIndex root = model->index(dir.path());
                              EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(root) >= 2; }, 3000));
                              for (int r = 0; r < model->rowCount(root); ++r)
                                  listed << model->index(r, 0, root).data().toString();
                              header = model->headerData(0, Qt::Horizontal).toString();
                              if (auto *types = w->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
                                  filterShown = types->currentText();
                              static_cast<QDialog *>(w)->reject();
                          }}});
    QtSeam().showOpen(request);
    ASSERT_TRUE(driver.done());
    listed.sort();
    EXPECT_EQ(listed, QStringList({QStringLiteral("B.TXT"), QStringLiteral("a.txt")}));
    EXPECT_EQ(filterShown, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)"));
    EXPECT_EQ(header, QStringLiteral("名前"));
}
