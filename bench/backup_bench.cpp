// One backup run through BackUpFileList: the source paths come one per line
// from LIST_FILE, the snapshot folder goes into BACKUP_DIR. The benchmark
// script times it against cp copying the same files.
#include "ConsoleDialogs.h"
#include "base/InOutError.h"
#include "core/BackupEngine.h"
#include "platform/SystemClock.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s LIST_FILE BACKUP_DIR\n", argv[0]);
        return 2;
    }
    tarvok::FileList files;
    std::ifstream list(argv[1]);
    for (std::string line; std::getline(list, line);)
        if (!line.empty())
            tarvok::AddFile(files, tarvok::FileRec{line, 1, 0});
    tarvok::bench::ConsoleDialogs dialogs;
    tarvok::platform::SystemClock clock;
    try {
        tarvok::BackUpFileList(files, argv[2], clock, dialogs);
    } catch (const tarvok::EInOutError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
