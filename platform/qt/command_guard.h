// One guard around every command a user starts: a menu entry, a button, a key, a click in a list.
//
// A command that meets a failure it does not handle itself (a file that cannot be read, a
// master in a state nobody foresaw) ends there: the user is told what failed, in the message
// style of the programs (the file and the system's reason for a file error), and the program
// goes on with every window and every open document as it was. Without the guard such a failure
// would end the whole program.
//
//   connect(Command1, &QPushButton::clicked, this, qd::qt::guarded([this] { Command1_Click(); }));
//   qd::qt::runGuarded([&] { handler(); }, [&] { sheet.setRedraw(true); });
//
// The optional recovery runs before the message: it puts back what a command may leave half
// done when it stops in the middle (a sheet whose drawing is off, the hourglass).
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace qd::qt {

// Runs `command`; a failure that escapes it is caught, `recover` runs and the failure is shown
// with a beep and a message box. A fault of a test's dialog script (ScriptError) is passed on,
// so that the test fails where the unexpected dialog came. Returns false after a failure.
// `headline` replaces the first line of the message where a form says more exactly what failed.
bool runGuarded(const std::function<void()> &command, const std::function<void()> &recover = {},
                const std::string &headline = {});

// An event filter's handler through runGuarded: whether it took the event (not after a failure).
bool runGuardedFilter(const std::function<bool()> &handler, const std::function<void()> &recover = {},
                      const std::string &headline = {});

// `command` as a slot or callback that runs through runGuarded; it takes whatever arguments
// the signal gives.
template <class F>
auto guarded(F command, std::function<void()> recover = {})
{
    return [command = std::move(command), recover = std::move(recover)](auto &&...args) {
        runGuarded([&] { command(args...); }, recover);
    };
}

} // namespace qd::qt
