#pragma once
#include "core/Clock.h"
#include "core/FileUtility.h"
#include "core/Schedule.h"

#include <functional>
#include <string>

namespace tarvok {

class Dialogs;

// Shows a status text at once; the empty text clears the status line.
using StatusWriter = std::function<void(const std::string&)>;

// Backs up, in list order, every project whose schedule is due at this tick: its
// status text shown, its project file read into a list of this call's own,
// one backup run into its backup directory, the status cleared. Returns
// whether any project ran. A failing run throws and ends the walk there,
// leaving that project's status text shown.
bool RunDueBackups(const ProjectList& projects, const TickSpan& ticks, const Clock& clock, Dialogs& dialogs,
                   const StatusWriter& showStatus);

} // namespace tarvok
