#pragma once
#include "base/Clock.h"
#include "core/FileUtility.h"
#include "core/Schedule.h"

#include <functional>
#include <string>
#include <vector>

namespace tarvok {

class Dialogs;

// Shows a status text at once; the empty text clears the status line.
using StatusWriter = std::function<void(const std::string&)>;

class WorkProgress;

// The projects whose schedule is due at this tick, in list order.
std::vector<PrjRec> DueProjects(const ProjectList& projects, const TickSpan& ticks);

// Backs up each of `projects` in turn: its status text shown, its project
// file read into a list of this call's own, one backup run into its backup
// directory (told to `progress`, where there is one), the status cleared. A
// failing run throws and ends the walk there, leaving that project's status
// text shown.
void RunBackups(const std::vector<PrjRec>& projects, const Clock& clock, Dialogs& dialogs,
                const StatusWriter& showStatus, WorkProgress* progress = nullptr);

} // namespace tarvok
