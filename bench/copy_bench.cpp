// Copies one file with CopyFileByBlock; the benchmark script times it
// against dd with the same block size.
#include "ConsoleDialogs.h"
#include "base/InOutError.h"
#include "core/BlockCopy.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOURCE DEST\n", argv[0]);
        return 2;
    }
    tarvok::bench::ConsoleDialogs dialogs;
    try {
        tarvok::CopyFileByBlock(argv[1], argv[2], dialogs);
    } catch (const tarvok::EInOutError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
