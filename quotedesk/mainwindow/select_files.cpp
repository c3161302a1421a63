#include "quotedesk/mainwindow/select_files.h"

#include <algorithm>
#include <cctype>

#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/files/safe_replace.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "quotedesk/core/document_name.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/select_files.h"
#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/sheet/selection.h"

namespace qd::forms {

using qd::qt::qs;
using qd::qt::ss;
using qd::text::trim;

namespace {

std::string selectFolder(qd::core::QdState &g) { return qd::records::instDir(g) + "\\data\\SELECT"; }

// The working folder goes to the SELECT folder while its dialog is open (made when missing).
void enterSelectFolder(qd::core::QdState &g)
{
    try {
        qd::files::makeDir(selectFolder(g));
        qd::files::changeDir(selectFolder(g));
    } catch (const std::exception &) {
        // The dialog starts where it can.
    }
}

void leaveSelectFolder(qd::core::QdState &g)
{
    try {
        qd::files::changeDir(qd::records::instDir(g));
    } catch (const std::exception &) {
        // The install folder has gone; the next command that needs it reports it.
    }
}

qd::qt::FileDialogRequest selectDialog(qd::core::QdState &g)
{
    qd::qt::FileDialogRequest r;
    r.flags = qd::qt::OverwritePromptFlag;
    r.filter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|");
    r.fileName = QStringLiteral("*.TXT");
    r.cancelError = true;
    qd::qt::doEvents();
    r.initDir = qs(selectFolder(g));
    return r;
}

// The SELECT name of a chosen file: its title without ".TXT" (any case).
std::string nameOf(const std::string &title)
{
    std::string t = trim(title);
    if (t.size() >= 4) {
        std::string tail = t.substr(t.size() - 4);
        std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
        if (tail == ".txt")
            t.erase(t.size() - 4);
    }
    return trim(t);
}

// The folder of a chosen file, without a closing separator.
std::string folderOf(const std::string &fileName, const std::string &title)
{
    std::string dir = fileName;
    if (!title.empty() && dir.size() >= title.size() && dir.compare(dir.size() - title.size(), title.size(), title) == 0)
        dir.erase(dir.size() - title.size());
    else if (const auto cut = dir.find_last_of("\\/"); cut != std::string::npos)
        dir.erase(cut + 1);
    else
        dir.clear();
    while (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    if (dir.empty())
        dir = qd::files::systemPath(qd::files::currentDir());
    return dir;
}

// A chosen name that can name a SELECT file: a plain file name, and for an export (a folder
// given) not the files of a document open in the program, which the export would replace
// under the document's feet. Refused with a message.
bool usableName(qd::core::QdState &g, const std::string &dir, const std::string &name)
{
    std::string refusal;
    if (!qd::core::isValidDocumentName(name))
        refusal = qd::core::invalidDocumentNameMessage();
    else if (!dir.empty() && qd::core::isOpenDocument(g, dir, name))
        refusal = qd::text::twoLines("開いている見積のファイルには、SELECT品を登録できません。",
                                     "別の名前を指定して下さい！");
    if (refusal.empty())
        return true;
    g.UI().beep();
    g.MSG_ANS = g.UI().msgBox(refusal, qd::core::Buttons::Ok);
    return false;
}

void reportFailure(qd::core::QdState &g, const std::string &what, const std::exception &e)
{
    g.UI().beep();
    g.MSG_ANS = g.UI().msgBox(qd::text::twoLines(what, qd::files::failureText(e)), qd::core::Buttons::Ok);
}

} // namespace

void SERCH_SELECT_OUT_Click(QuotedeskApp &app)
{
    qd::core::QdState &g = app.g;
    qd::grid::FlexGrid &sheet = g.curGrid();
    if (g.SEL_ROW < 1 || g.SEL_ROW_END < 1) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox("現在の指定状態では、SELECT品登録はできません。指定範囲を確認して下さい。",
                                  qd::core::Buttons::Ok);
        return;
    }
    g.SEL_COL = 1;
    g.SEL_COL_END = 24;
    qd::sheet::SEL_RANGE_ORDER(g);
    qd::sheet::SEL_RANGE_SAVE(g);
    const int first = g.SEL_ROW, last = g.SEL_ROW_END;
    auto ui = makeEditCommandUi(app);

    enterSelectFolder(g);
    try {
        const qd::qt::FileDialogResult chosen = qd::qt::showSave(selectDialog(g));
        const std::string name = nameOf(ss(chosen.fileTitle));
        const std::string dir = folderOf(ss(chosen.fileName), ss(chosen.fileTitle));
        // Rows that cannot be stored are said before any question about the files.
        if (!chosen.cancelled && !name.empty() && usableName(g, dir, name) &&
            !qd::core::refuseRowsBeyondFields(g, sheet, first, last) &&
            qd::core::confirmPairOverwrite(g, dir, name, ss(chosen.fileTitle))) {
            sheet.setRedraw(false);
            // The rows go to the SELECT file; the document keeps its own folder and names, so a
            // later save or header change still goes to the document.
            if (qd::core::SELECT_FILE_WRITE(g, dir, name, first, last)) {
                qd::sheet::SEL_RANGE_SET(g);
                g.UI().setMenuEnabled("FILE_READ", true);
            }
        }
    } catch (const qd::files::PairNotRestored &e) {
        // The header file holds the new header, the line file its old lines: the user is told
        // so, and where the old header is kept.
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox(qd::text::twoLines("SELECT品を登録できませんでした。",
                                                     "SELECT品の属性ファイルは新しい内容になり、元に戻せませんでした。(" +
                                                         qd::files::failureText(e) + ")"),
                                  qd::core::Buttons::Ok);
    } catch (const std::exception &e) {
        reportFailure(g, "SELECT品を登録できませんでした。", e);
    }
    leaveSelectFolder(g);
    sheet.setRedraw(true);
    ui->focusSheet();
}

void SERCH_SELECT_IN_Click(QuotedeskApp &app)
{
    qd::core::QdState &g = app.g;
    qd::grid::FlexGrid &sheet = g.curGrid();
    qd::sheet::SEL_RANGE_ORDER(g);
    enterSelectFolder(g);
    try {
        const qd::qt::FileDialogResult chosen = qd::qt::showOpen(selectDialog(g));
        const std::string name = nameOf(ss(chosen.fileTitle));
        if (!chosen.cancelled && !name.empty() && usableName(g, {}, name)) {
            g.SELECT_NAME = name;
            g.SELECT_DIR = folderOf(ss(chosen.fileName), ss(chosen.fileTitle));
            sheet.setRedraw(false);
            qd::core::SELECT_FILE_INSERT(g);
        }
    } catch (const std::exception &e) {
        g.LINE_CTL.close();
        sheet.setRedraw(true);
        reportFailure(g, "SELECT品を挿入できませんでした。", e);
    }
    g.LINE_CTL.close();
    sheet.setRedraw(true);
    leaveSelectFolder(g);
}

} // namespace qd::forms
