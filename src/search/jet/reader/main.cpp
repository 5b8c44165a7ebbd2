// tamvex-jet-reader FILE
//
// Reads table maindata of a Jet database and writes it to standard output
// in the stream format of jetwireformat.h. Runs as a child of the program so
// that a damaged file which makes libmdb hang or crash cannot take the
// program down with it. libmdb's own diagnostics go to standard error.
#include "jetwireformat.h"
#include "mdbtablereader.h"
#include "wirewriter.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tamvex-jet-reader FILE\n");
        return JetWire::BadUsage;
    }
    WireWriter out(stdout);
    out.magic();
    std::string error;
    {
        MdbTableReader reader(out);
        error = reader.run(argv[1]);
    }
    if (!error.empty()) {
        out.error(error);
        out.flush();
        return JetWire::ReadFailed;
    }
    return out.flush() ? JetWire::Success : JetWire::OutputFailed;
}
