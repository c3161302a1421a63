// The launcher of the main window: the maintenance, bulk-rate and CSV tools, and the printer
// settings program, each started as a program of its own with no arguments, not waited for,
// working in the install folder (the tools take their working folder as the install folder).
//
// A menu entry names its program as the install folder followed by a literal such as
// "\partnermaint.exe". On this host the programs carry no extension: the program is `name` (or
// "name.exe") in the install folder, else `name` beside the running quotedesk. A program that
// is in neither place, or does not start, is reported to the user and quotedesk goes on.
#pragma once

#include <QString>

#include <array>
#include <string>

namespace qd::forms {

struct LaunchEntry {
    const char *menu;    // menu entry of KIHON
    const char *literal; // program file after the install folder
};

// Every menu entry that starts a program, in menu order.
const std::array<LaunchEntry, 22> &launchTable();
// The literal of a menu entry, or nullptr when the entry starts no program.
const char *launchLiteral(const QString &menu);

// The program a literal resolves to: Trim(instDir) & literal when that names a program in the
// install folder (with or without its ".exe"), else the host path of the bare name in
// `besideDir` when it is there, else Trim(instDir) & literal as it stands (it will not start).
QString resolveLaunchProgram(const std::string &instDir, const QString &literal, const QString &besideDir);

// Starts the program of the literal through the seam: no arguments, working folder
// Trim(instDir). Beside-folder is the folder of the running program. When the program cannot be
// started, beeps and tells the user which program is missing; returns whether it started.
bool launchProgram(const std::string &instDir, const QString &literal);

// The message shown when a program could not be started.
QString launchFailedMessage(const QString &literal, const QString &program);

} // namespace qd::forms
