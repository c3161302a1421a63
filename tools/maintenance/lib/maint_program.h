// The start of the eight maintenance tools: each program's main calls this with its own name.
#pragma once

#include <QWidget>

#include <memory>

namespace qd::maint {

// The names of the eight programs.
const char *const *maintenancePrograms(int *count);

// Makes the window of the named program and loads it (shown, centred, its list filled); nullptr
// for a name that is no maintenance tool.
std::unique_ptr<QWidget> openMaintenanceTool(const char *program);

// The main program of a maintenance tool: the install folder is the working folder; a missing
// data folder ("\ALMI" for glassmaint) is reported at start and the tool ends creating nothing.
int runMaintenanceTool(int argc, char **argv, const char *program);

} // namespace qd::maint
