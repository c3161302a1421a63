// MITFM "見積情報": the header of the current job document (partner, project, delivery place,
// payment terms, delivery date, validity and the document's rate), edited on the header globals
// of QdState. A value typed into a box counts once it is confirmed with Enter, or when "終了"
// takes it through the same checks; "終了" writes the globals as record 1 of the document's
// header file, "取消" closes without writing. The partner drop-down lists the partners of
// "\data\TOKF.SSS".
#pragma once

#include <functional>

#include <QWidget>

#include "platform/qt/focus_moves.h"

#include <array>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qd::core {
struct QdState;
}

namespace qd::forms {

class QuotedeskApp;

class MITFM : public QWidget {
    Q_OBJECT
public:
    explicit MITFM(QuotedeskApp &app);
    ~MITFM() override;

    QuotedeskApp &app;
    qd::core::QdState &g;

    QComboBox *Combo1 = nullptr;
    std::array<QLabel *, 8> Label{};    // Label1 .. Label7 (index 0 unused)
    std::array<QLineEdit *, 8> Text{};  // Text1 .. Text7 (index 0 unused)
    QPushButton *Command1 = nullptr;    // "終了"
    QPushButton *Command2 = nullptr;    // "取消"

    // Sizes and centres the window, shows it, fills the partner list and shows the header.
    void Form_Load();
    void Combo1_Click(int index);
    void Command1_Click();
    void COMMAND2_CLICK();
    // The field protocol of Text1 .. Text7 (n = 1 .. 7); key codes 13 Enter and 27 Escape.
    void Text_GotFocus(int n);
    void Text_KeyDown(int n, int keyCode);
    void Text_LostFocus(int n);

    // The partner list line of a record: code "0000", a blank, the 50-character name, ten
    // blanks and the record number "00000"; and the name back from such a line.
    static std::string partnerLine(const std::string &code, const std::string &name, int recordNo);
    static std::string partnerNameOfLine(const std::string &line);

protected:
    // The events of the form's boxes and lists, each run through the command guard.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool formEvent(QObject *watched, QEvent *event);
    // A handler of the form as a slot through the command guard.
    std::function<void()> guarded(std::function<void()> handler);
    void buildControls();
    void fillPartners();
    void DOC_HEAD_SHOW();
    // The global of box n, as the box shows it.
    std::string shownValue(int n) const;
    void storeValue(int n, const std::string &text);
    // Box n's text through the checks of Enter into its global, shown again as stored; a text
    // refused is said, and false.
    bool takeTyped(int n);
    // Whether a value typed into box n goes into its header field as it is; if not, says so
    // and leaves the box to mend it.
    bool fitsField(int n, const std::string &value);
    // Whether the text typed into the rate box is a rate the header and the products take as
    // it is shown; if not, says so.
    bool rateFits(const std::string &typed);
    // Says a refusal of what box n holds, and leaves the box with the focus showing `shown`,
    // the part to mend selected, still to be confirmed.
    void refuseTyped(int n, const QString &message, const QString &shown, int start, int length);
    // The caption of box n's field, as a message names it.
    static QString fieldName(int n);
    void focusBox(int n);
    void unloadSelf();

    std::array<qd::qt::FocusMoves, 8> m_focus{}; // of Text1 .. Text7 (index 0 unused)
};

} // namespace qd::forms
