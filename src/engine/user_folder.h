#pragma once
// The per-user data folder, where everything the program writes lies, and the
// bracketing of every access to it by switching the current directory.
#include <string>

struct UserFolderResult {
    bool ok = false;
    std::string path;   // the folder, without a trailing slash
    std::string error;  // why it cannot be used, when it cannot
};

// Builds "<user data>/Korv/Tolvan Vovaro" with every missing parent, the folder
// map, and copies the shipped defaults (Config.xml) there when missing. Call
// before the first log message. Not ok when the folder cannot be created or
// written; the map points at it all the same.
UserFolderResult PrepareUserFolder();
// Same, with an explicit base folder in place of the user's data folder (tests).
UserFolderResult PrepareUserFolderAt(const std::string& base);

// Removes what a run that ended in the middle of writing a file whole left in
// the user folder: the temporary "<name>.tmp" beside the settings, the saved
// game's copy and the screenshots. For the copy that holds the single-instance
// lock only: another copy's write in progress would lose its file.
void RemoveUnfinishedWrites();

// Switches into the alias's folder ("all", "save") and returns the previous
// current directory; an unknown alias or a folder that cannot be entered
// changes nothing and returns "". Writers name their files by the full path
// (UserFolderPath) instead, so a lost folder never sends them elsewhere.
std::string EnterFolder(const std::string& alias);
// Switches back to a directory returned by EnterFolder ("" changes nothing).
void LeaveFolder(const std::string& saved);

// The full path of an alias's folder, ending with "/" ("" when unknown).
std::string UserFolderPath(const std::string& alias);
