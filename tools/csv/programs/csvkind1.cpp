// csvkind1: the kind-1 files of a major class, HISYU1 + nn + ".TXT", to their CSV files and back.
#include "tools/csv/forms/kind_frm.h"

int main(int argc, char **argv) { return qd::csv::kind::runKindTool(argc, argv, 1); }
