// demodata DIR: writes the demo install folder into DIR.
#include <cstdio>
#include <exception>

#include "tools/demodata/lib/demo_data.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: demodata DIR\n");
        return 2;
    }
    try {
        qd::demo::writeDemoInstall(argv[1]);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "demodata: %s\n", e.what());
        return 1;
    }
    return 0;
}
