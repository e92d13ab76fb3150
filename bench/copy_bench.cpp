// Copies one file with CopyFileByBlock; the benchmark script times it
// against dd with the same block size.
#include "core/BlockCopy.h"
#include "core/Dialogs.h"
#include "core/InOutError.h"

#include <cstdio>

namespace {
class NoDialogs : public tarvok::Dialogs {
public:
    void Message(const std::string&) override {}
    bool Confirm(const std::string&) override { return true; }
    void Warning(const std::string& text) override { std::fprintf(stderr, "warning: %s\n", text.c_str()); }
    void ErrorBox(const std::string&) override {}
    bool SelectDirectory(const std::string&, std::string&) override { return false; }
    bool OpenFiles(const std::string&, std::vector<std::string>&) override { return false; }
};
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOURCE DEST\n", argv[0]);
        return 2;
    }
    NoDialogs dialogs;
    try {
        tarvok::CopyFileByBlock(argv[1], argv[2], dialogs);
    } catch (const tarvok::EInOutError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
