// glassmaint: the maintenance tool of the glass master, started by hand in the install folder.
#include "tools/maintenance/lib/maint_program.h"

int main(int argc, char **argv) { return qd::maint::runMaintenanceTool(argc, argv, "glassmaint"); }
