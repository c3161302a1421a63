// syohizei_calc_frm: the form of the common consumption-tax settings (rate, rounding unit and
// mode, tax included or added), saved as the 64-byte record of "\data\syohizei_calc.fil".
#pragma once

#include <functional>

#include <QWidget>

#include "quotedesk/core/qd_state.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qd::forms {

class QuotedeskApp;

class syohizei_calc_frm : public QWidget {
    Q_OBJECT
public:
    // Loading the form runs its Form_Load (it shows itself, centred).
    explicit syohizei_calc_frm(QuotedeskApp &app);

    QuotedeskApp &app;
    qd::core::QdState &g;

    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr;
    QRadioButton *Option1 = nullptr, *Option2 = nullptr, *Option3 = nullptr; // 切り上げ 切り捨て 四捨五入
    QRadioButton *Option4 = nullptr, *Option5 = nullptr;                     // 内税 外税
    QLineEdit *Text1 = nullptr;  // rounding unit, "##0"
    QLineEdit *Text2 = nullptr;  // common rate, "##0.00"
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QPushButton *Command1 = nullptr; // 設定して終了
    QPushButton *Command2 = nullptr; // キャンセル

    void Form_Load();
    void Option_Click(int option); // 1..5
    void Text1_GotFocus();
    void Text1_KeyDown(int keyCode); // 13 Enter, 27 Esc
    void Text1_LostFocus();
    void Text2_GotFocus();
    void Text2_KeyDown(int keyCode);
    void Text2_LostFocus();
    void TAX_RATE_CHECK();
    void Command1_Click();
    void Command2_Click();

    // The form's error flag of the last range check (0 passed, 1 refused).
    int errorFlag() const { return m_error; }

protected:
    bool event(QEvent *event) override;
    // The events of the form's boxes and lists, each run through the command guard.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool formEvent(QObject *watched, QEvent *event);
    // A handler of the form as a slot through the command guard.
    std::function<void()> guarded(std::function<void()> handler);
    void restoreFromRecord();
    void unloadForm();
    void returnFocusTo(QLineEdit *box);
    // The unit or the rate its box holds, taken as Enter takes it; false (nothing taken) for
    // text that is no number the value can be.
    bool takeUnit();
    bool takeRate();
    // The box's value as stored, in its format ("##0" the unit, "##0.00" the rate).
    void showStored(QLineEdit *box);

    qd::text::Fixed4 CHK_VALUE;
    int m_error = 0;
    bool m_unloading = false;
    QLineEdit *m_refocus = nullptr; // the box of a refused value, while the form waits to be active
    // The settings as the form found them, which キャンセル puts back.
    qd::text::Fixed4 m_loadedRate;
    std::int16_t m_loadedUnit = 0, m_loadedMode = 0, m_loadedTaxMode = 1;
};

} // namespace qd::forms
