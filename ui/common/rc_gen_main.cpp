// veltaro-rcgen OUTPUT: writes the dialog templates and string table as a resource script.
#include <cstdio>
#include <fstream>

#include "rc_script.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltaro-rcgen OUTPUT.rc\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    veltaro::ui::WriteDialogResources(out);
    out.close();
    if (!out) {
        std::fprintf(stderr, "veltaro-rcgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
