#pragma once
// The file-name layer: the game names its files the Windows way
// ("Settings\Samples.xml", "bases\common.xml", any letter case); on disk they are
// looked up with slashes and without regard to letter case.
//
// Every function works relative to the current directory unless the name is
// absolute. Only ASCII letters are folded; other bytes must match exactly.
#include <string>
#include <string_view>

namespace plat {

// Backslashes become slashes and runs of separators collapse into one
// ("Settings\\Samples.xml" -> "Settings/Samples.xml"). Letter case is kept.
std::string ToNativeSeparators(std::string_view name);

// The path of an existing file or folder that the name denotes, or "" when there
// is none. The name as given is tried first; otherwise each part of the path is
// matched against its folder's entries without regard to case (an exact match
// wins, then the first match in sorted order). "" resolves to "".
std::string ResolveFileName(std::string_view name);

// For writing a file: the folders of the name are resolved as above, the last part
// keeps its spelling unless a file of that name in another case already exists.
// Returns "" when a folder of the path does not exist.
std::string ResolveFileNameForWrite(std::string_view name);

}  // namespace plat
