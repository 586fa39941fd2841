#include "data/program_relative_path.h"

#include "ui/base/string_util.h"

namespace {

constexpr wchar_t kFolderForm[] = L".\\";
constexpr wchar_t kParentForm[] = L"..\\";
constexpr wchar_t kDriveForm[] = L":\\";

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::wstring ProgramParentDir(const std::wstring& programDir) {
  if (programDir.empty()) return {};
  std::wstring withoutLast = programDir.substr(0, programDir.size() - 1);
  size_t slash = withoutLast.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : withoutLast.substr(0, slash + 1);
}

ProgramFolderForms ProgramFolderForms::FromProgramDir(const std::wstring& programDir) {
  ProgramFolderForms forms;
  forms.folder = ToLowerAscii(programDir);
  forms.parent = ToLowerAscii(ProgramParentDir(programDir));
  forms.drive = forms.folder.substr(0, 3);
  return forms;
}

std::wstring MakeProgramRelativePath(const std::wstring& path, const ProgramFolderForms& forms) {
  const std::wstring lowered = ToLowerAscii(path);
  if (!forms.folder.empty() && StartsWith(lowered, forms.folder)) {
    return kFolderForm + path.substr(forms.folder.size());
  }
  if (!forms.parent.empty() && StartsWith(lowered, forms.parent)) {
    return kParentForm + path.substr(forms.parent.size());
  }
  if (!forms.drive.empty() && StartsWith(lowered, forms.drive)) {
    return kDriveForm + path.substr(forms.drive.size());
  }
  return path;
}

std::wstring MakeProgramRelativeWorkDir(const std::wstring& workDir, const std::wstring& targetPath,
                                        const ProgramFolderForms& forms) {
  if (workDir.empty()) return workDir;
  std::wstring targetFolder = ToLowerAscii(targetPath);
  size_t slash = targetFolder.rfind(L'\\');
  if (slash != std::wstring::npos) targetFolder.resize(slash);
  if (ToLowerAscii(workDir) == targetFolder) return {};
  return MakeProgramRelativePath(workDir, forms);
}

std::wstring ExpandParentAndDriveForms(const std::wstring& path, const ProgramFolderForms& forms) {
  if (StartsWith(path, kFolderForm)) return path;
  if (StartsWith(path, kParentForm)) return forms.parent + path.substr(3);
  if (StartsWith(path, kDriveForm)) return forms.drive + path.substr(2);
  return path;
}

void MakeNewLinkPathsRelative(std::wstring& path, std::wstring& workDir, const ProgramFolderForms& forms) {
  workDir = MakeProgramRelativeWorkDir(workDir, path, forms);
  path = MakeProgramRelativePath(path, forms);
}
