#pragma once
#include "core/FileUtility.h"

#include <initializer_list>
#include <string>

namespace tarvok::test {

// A source list of existing, unselected files, in the given order.
inline FileList ListOf(std::initializer_list<std::string> paths)
{
    FileList list;
    for (const std::string& p : paths)
        AddFile(list, FileRec{p, 1, 0});
    return list;
}

} // namespace tarvok::test
