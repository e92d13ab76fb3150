#include "core/AutoBackup.h"

#include "core/BackupEngine.h"
#include "core/ProjectFile.h"
#include "core/Settings.h"

namespace tarvok {

bool RunDueBackups(const ProjectList& projects, const TickSpan& ticks, const Clock& clock, Dialogs& dialogs,
                   const StatusWriter& showStatus)
{
    bool ran = false;
    FileList files;
    for (const PrjRec& project : projects) {
        if (!IsBackupDue(project, ticks))
            continue;
        showStatus(AutoBackupStatusText(project));
        LoadFileList(ProjectFilePath(project.BackUpDir), files);
        BackUpFileList(files, project.BackUpDir, clock, dialogs);
        showStatus("");
        ran = true;
    }
    return ran;
}

} // namespace tarvok
