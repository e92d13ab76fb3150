// Stands in for the program in the start-at-logon test: started from a copy,
// it changes its own file as an upgrade or a move would, enters itself for
// logon, says "entered" and, after a line on its input, takes itself out.
// Usage: ExecutableProbe replace|move <moved path>
#include "core/AutoStart.h"
#include "platform/FileSystem.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    using namespace tarvok;
    const std::string started = platform::ExecutablePath(); // as the program does at start
    if (argc != 3)
        return 2;
    const std::string change = argv[1];
    if (change == "replace") {
        std::filesystem::copy_file(started, started + ".new");
        std::filesystem::rename(started + ".new", started);
    } else {
        std::filesystem::rename(started, argv[2]);
    }
    AddAutoStartRegistry(platform::ExecutablePath());
    std::cout << "entered" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    RemoveAutoStart(platform::ExecutablePath());
    return 0;
}
