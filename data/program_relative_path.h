// Stored forms of paths that lie in the program folder F, next to it (its parent
// P) or elsewhere on its drive R: ".\" + rest stands for F + rest, "..\" + rest
// for P + rest and ":\" + rest for R + rest. They keep links working when the
// whole program folder is moved or the drive letter changes.
#pragma once

#include <string>

// F, P and R of one program folder, lowered to ASCII lower case for comparing.
struct ProgramFolderForms {
  std::wstring folder;  // F, with its trailing backslash
  std::wstring parent;  // P, with its trailing backslash; empty when F is a drive root
  std::wstring drive;   // R, the first three characters of F

  // From a folder with its trailing backslash, such as GetProgramDir().
  static ProgramFolderForms FromProgramDir(const std::wstring& programDir);
};

// The parent folder of a program folder (cut after the backslash before its last
// one), empty for a drive root; letter case kept.
std::wstring ProgramParentDir(const std::wstring& programDir);

// The first matching stored form (F, then P, then R) of a full path, or the path
// itself. Prefixes compare without regard to A-Z case; the rest keeps its case.
// An empty P matches nothing, so a path is never rewritten relative to the
// parent of a drive root.
std::wstring MakeProgramRelativePath(const std::wstring& path, const ProgramFolderForms& forms);

// The working directory of a link about to be stored: empty when it is exactly the
// folder of the link's target (A-Z case ignored), else its stored form.
std::wstring MakeProgramRelativeWorkDir(const std::wstring& workDir, const std::wstring& targetPath,
                                        const ProgramFolderForms& forms);

// Expands the "..\" and ":\" forms with the lowered P and R; ".\" forms and all
// other paths are returned unchanged.
std::wstring ExpandParentAndDriveForms(const std::wstring& path, const ProgramFolderForms& forms);

// Rewrites a new link's target and working directory into their stored forms, as
// the link store does before it inserts the link.
void MakeNewLinkPathsRelative(std::wstring& path, std::wstring& workDir, const ProgramFolderForms& forms);
