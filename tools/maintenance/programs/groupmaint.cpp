// groupmaint: one of the maintenance tools, started by quotedesk in the install folder.
#include "tools/maintenance/lib/maint_program.h"

int main(int argc, char **argv) { return qd::maint::runMaintenanceTool(argc, argv, "groupmaint"); }
