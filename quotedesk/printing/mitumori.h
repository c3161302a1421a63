// MITUMORI: the print dialog. The user chooses what goes beside the product name and whether
// the project name heads page 1 of invoices and delivery notes, then composes the document
// ("見積書印刷" ...) or leaves ("終了"). Closing the window by its frame is "終了".
#pragma once

#include <QWidget>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace qd::printing {

struct PrintContext;

class MITUMORI : public QWidget {
    Q_OBJECT
public:
    explicit MITUMORI(PrintContext &ctx);

    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr;
    QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr, *Option4 = nullptr,
                 *Option5 = nullptr;
    QPushButton *Command1 = nullptr; // "終了"
    QPushButton *Command2 = nullptr; // compose and preview

    void Form_Load();
    void Command1_Click();
    void COMMAND2_CLICK();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    PrintContext &m_ctx;
    double m_grow = 0; // twips the option lines add to the window's height
};

} // namespace qd::printing
