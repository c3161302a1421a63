// A second program for the tests: appends one single item to "\data\TANPIN.TXT" below its
// working folder, as quotedesk does when it registers a sheet row as an item, under the file's
// lock. Arguments: the code and the name.
#include "platform/files/paths.h"
#include "platform/files/record_append.h"
#include "records/records_state.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    try {
        const std::string path = qd::files::systemPath(qd::files::currentDir()) + "\\data\\TANPIN.TXT";
        qd::records::RecordsState g;
        qd::records::TANPIN_REC_CLEAR(g);
        qd::records::TANPIN_SEP_SET(g);
        g.ITEM_EDIT_CD = static_cast<std::int16_t>(std::stoi(argv[1]));
        g.ITEM_EDIT_NAME = argv[2];
        qd::records::TANPIN_REC_SET(g);
        qd::files::appendRecords(path, 128, g.TANPIN_REC.bytes());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
