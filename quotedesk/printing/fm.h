// FM: the progress window of composing and printing. It is modal while it is shown: only its
// stop button "印刷中止" works, which asks the running walk to stop after the row or page in
// hand. Closing the window by its frame is "印刷中止".
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qd::printing {

struct PrintContext;

class FM : public QWidget {
    Q_OBJECT
public:
    explicit FM(PrintContext &ctx);

    QPushButton *Command1 = nullptr; // "印刷中止"
    QLabel *Label1 = nullptr;        // "ページ"
    QLineEdit *Text1 = nullptr;      // the page in hand

    // Places the window, shows it modal with the focus on the stop button and lets it paint.
    void Form_Load();
    void Command1_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    PrintContext &m_ctx;
};

} // namespace qd::printing
