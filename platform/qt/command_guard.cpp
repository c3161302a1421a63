#include "platform/qt/command_guard.h"

#include <exception>
#include <string>

#include "platform/files/file_error.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/scripted_seam.h"
#include "platform/qt/seam.h"
#include "platform/text/message_text.h"

namespace qd::qt {

namespace {

void report(const std::string &headline, const std::string &reason)
{
    try {
        beep();
    } catch (const ScriptError &) {
        throw;
    } catch (...) {
    }
    msgBox(qs(qd::text::twoLines(headline.empty() ? "この操作を最後まで行えませんでした。" : headline, reason)));
}

} // namespace

bool runGuarded(const std::function<void()> &command, const std::function<void()> &recover,
                const std::string &headline)
{
    std::string reason;
    try {
        command();
        return true;
    } catch (const ScriptError &) {
        throw;
    } catch (const std::exception &e) {
        reason = qd::files::failureText(e);
    } catch (...) {
        reason = "原因の分からない障害です。";
    }
    if (recover) {
        try {
            recover();
        } catch (const ScriptError &) {
            throw;
        } catch (...) {
            // What cannot be put back stays as it is; the message follows all the same.
        }
    }
    report(headline, reason);
    return false;
}

bool runGuardedFilter(const std::function<bool()> &handler, const std::function<void()> &recover,
                      const std::string &headline)
{
    bool taken = false;
    runGuarded([&] { taken = handler(); }, recover, headline);
    return taken;
}

} // namespace qd::qt
