// Windows-form paths over the host's file system.
//
// The plug-in sees a Windows world: a drive letter, backslashes, ":" marking an absolute path.
// Drive Z: is the root of the real file system ("/home/u/a.fm" is "Z:\home\u\a.fm"); other
// drive letters can be mapped to folders. A name that does not exist as written is looked up
// without regard to case, component by component.
#pragma once

#include <string>

namespace host {

// Maps a drive letter (A-Y) to a real folder; an empty folder removes the mapping.
void MapDrive(char letter, const std::string &folder);
// Forgets every mapping but Z:.
void ClearDriveMappings();

// The real path of a Windows-form path ("" when the drive is not mapped). Forward slashes are
// accepted as separators; a path without a drive is taken relative to the current folder.
// Existing entries are matched without regard to case where the exact name is missing.
std::string NativePath(const std::string &windowsPath);

// The Windows form of a real path: under the longest mapped folder that holds it, else on Z:.
std::string WindowsPath(const std::string &nativePath);

}  // namespace host
