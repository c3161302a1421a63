// csvcolor: the colours, IRO.TXT, to its CSV file and back.
#include "tools/csv/forms/master_frm.h"

int main(int argc, char **argv) { return qd::csv::master::runMasterTool(argc, argv, qd::csv::colorTable()); }
