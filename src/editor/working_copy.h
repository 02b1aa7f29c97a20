#pragma once
// The editor's working files in the edit folder: the working copy
// "temp.bmp" made from the user's picture, and the staging file
// "changed.bmp" that saving writes first.
#include <string>

namespace editor {

std::wstring WorkingCopyPath();
std::wstring StagingPath();

// Copies a bitmap file or converts a JPEG file (through the image library of
// `programFolder`) into the working copy, after checking that it holds a
// picture. False, with the user told why, for another type, a missing or
// unusable library, or a file that is no readable picture; the working
// copy is then as it was.
bool MakeWorkingCopy(const std::wstring& path, const std::wstring& programFolder);

}  // namespace editor
