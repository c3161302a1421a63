// csvprice: the list-price files of the data folder, to their CSV files and back.
#include "tools/csv/forms/price_frm.h"

int main(int argc, char **argv) { return qd::csv::price::runPriceTool(argc, argv); }
