#include "core/AutoBackup.h"

#include "core/BackupEngine.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"

namespace tarvok {

std::vector<PrjRec> DueProjects(const ProjectList& projects, const TickSpan& ticks)
{
    std::vector<PrjRec> due;
    for (const PrjRec& project : projects)
        if (IsBackupDue(project, ticks))
            due.push_back(project);
    return due;
}

void RunBackups(const std::vector<PrjRec>& projects, const Clock& clock, Dialogs& dialogs,
                const StatusWriter& showStatus, WorkProgress* progress)
{
    FileList files;
    for (const PrjRec& project : projects) {
        showStatus(AutoBackupStatusText(project));
        LoadFileList(ProjectFilePath(project.BackUpDir), files);
        (void)BackUpFileList(files, project.BackUpDir, clock, dialogs, progress);
        showStatus("");
    }
}

} // namespace tarvok
