#pragma once
#include <optional>
#include <string>
#include <vector>

// Where the program keeps its settings file, the default BkUp folder and the
// Skin folder. A portable copy keeps them beside its executable; an
// installed program (a folder the user cannot write, or the install
// prefix's bin folder, which even root must not write into) keeps them in
// the user's own config folder.
namespace tarvok::platform {

struct AppDirSources {
    std::string ExecutableDir;
    // Fixed when the program was built; on Windows the program folders, a
    // copy anywhere below them being installed.
    std::vector<std::string> InstalledBinDirs;
    std::string XdgConfigHome; // empty when unset
    std::string Home;          // empty when unset
};

// The user's config folder: $XDG_CONFIG_HOME when it is absolute, else
// .config in the home folder ($HOME, else the password file's). Only the
// name: nothing is created.
std::string ConfigHome(const AppDirSources& sources);
// ConfigHome of this process's environment.
std::string ConfigHome();

// ConfigHome/Tarvok. Only the name: nothing is created.
std::string UserConfigAppDir(const AppDirSources& sources);

// The executable's folder when it is writable by this user and not an
// installed program folder; otherwise UserConfigAppDir, created (with its
// missing parents) with mode 0700 when missing, and made 0700 when it is
// the user's and others have any access to it. On Windows a settings folder
// without a Tarvok.ini then gets a copy of the one beside the executable
// (an earlier copy's in the same folder).
std::string ChooseAppDir(const AppDirSources& sources);

// Why the folder `appDir` is not there, in the system's words: nothing when
// it is a directory; else why it cannot be made below the nearest folder
// that exists (a read-only drive, no permission), or that it is missing.
// A write into a missing folder says only "Invalid filename".
std::optional<std::string> WhyAppDirIsMissing(const std::string& appDir);

// ChooseAppDir for the running program and its environment.
std::string DetermineAppDir(const std::vector<std::string>& installedBinDirs);

// The first start of an installed program: when appDir has no Skin folder
// yet, creates it and copies every plain file of exampleSkinDir into it,
// never over a file that is there. A copy that fails is left out; the
// program runs without that skin. Returns the number of files copied.
int CopyExampleSkins(const std::string& exampleSkinDir, const std::string& appDir);

} // namespace tarvok::platform
