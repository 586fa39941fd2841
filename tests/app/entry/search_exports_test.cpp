// The executable exports the search-service client: 86 functions by name, ordinals 1 to
// 86 in the byte order of their names, each pointing at code.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

struct Export {
  std::string name;
  DWORD ordinal;
  DWORD rva;
};

// Reads the export table of a PE32+ image file; empty when it has none.
class PeExports {
 public:
  explicit PeExports(const std::string& file) : file_(file.begin(), file.end()) {}

  bool Read(std::vector<Export>* exports, DWORD* ordinal_base) {
    IMAGE_DOS_HEADER dos;
    IMAGE_NT_HEADERS64 nt;
    if (!Copy(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || !Copy(dos.e_lfanew, &nt)) return false;
    sections_ = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
    section_count_ = nt.FileHeader.NumberOfSections;
    const IMAGE_DATA_DIRECTORY dir = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    IMAGE_EXPORT_DIRECTORY table;
    if (dir.VirtualAddress == 0 || !Copy(FileOffset(dir.VirtualAddress), &table)) return false;
    *ordinal_base = table.Base;
    for (DWORD i = 0; i < table.NumberOfNames; ++i) {
      DWORD name_rva = 0;
      WORD index = 0;
      DWORD function_rva = 0;
      if (!Copy(FileOffset(table.AddressOfNames) + 4 * i, &name_rva) ||
          !Copy(FileOffset(table.AddressOfNameOrdinals) + 2 * i, &index) ||
          !Copy(FileOffset(table.AddressOfFunctions) + 4 * index, &function_rva)) {
        return false;
      }
      exports->push_back({std::string(file_.data() + FileOffset(name_rva)), table.Base + index, function_rva});
    }
    return true;
  }

  // Whether the address lies in an executable section.
  bool IsCode(DWORD rva) {
    const IMAGE_SECTION_HEADER* s = SectionOf(rva);
    return s && (s->Characteristics & IMAGE_SCN_MEM_EXECUTE);
  }

 private:
  template <typename T>
  bool Copy(size_t offset, T* out) {
    if (offset + sizeof(T) > file_.size()) return false;
    std::memcpy(out, file_.data() + offset, sizeof(T));
    return true;
  }

  const IMAGE_SECTION_HEADER* SectionOf(DWORD rva) {
    for (size_t i = 0; i < section_count_; ++i) {
      auto* s = reinterpret_cast<const IMAGE_SECTION_HEADER*>(file_.data() + sections_) + i;
      if (rva >= s->VirtualAddress && rva < s->VirtualAddress + std::max(s->Misc.VirtualSize, s->SizeOfRawData)) {
        return s;
      }
    }
    return nullptr;
  }

  size_t FileOffset(DWORD rva) {
    const IMAGE_SECTION_HEADER* s = SectionOf(rva);
    return s ? rva - s->VirtualAddress + s->PointerToRawData : file_.size();
  }

  std::vector<char> file_;
  size_t sections_ = 0;
  size_t section_count_ = 0;
};

TEST(SearchExportsTest, ExecutableExportsTheClientWithOrdinalsInNameOrder) {
  const std::wstring exe = pexo_test::ExeFolder() + L"\\..\\..\\app\\Pexo.exe";
  const std::string image = pexo_test::ReadFileBytes(exe);
  ASSERT_FALSE(image.empty()) << "Pexo.exe not found beside the tests";
  PeExports reader(image);
  std::vector<Export> exports;
  DWORD base = 0;
  ASSERT_TRUE(reader.Read(&exports, &base));
  ASSERT_EQ(exports.size(), 86u);
  EXPECT_EQ(base, 1u);

  std::sort(exports.begin(), exports.end(), [](const Export& a, const Export& b) { return a.name < b.name; });
  for (size_t i = 0; i < exports.size(); ++i) {
    SCOPED_TRACE(exports[i].name);
    EXPECT_EQ(exports[i].name.rfind("FileSearch_", 0), 0u);
    EXPECT_EQ(exports[i].ordinal, i + 1);
    EXPECT_TRUE(reader.IsCode(exports[i].rva));
  }
  EXPECT_EQ(exports.front().name, "FileSearch_CleanUp");
  EXPECT_EQ(exports[64].name, "FileSearch_QueryA");
  EXPECT_EQ(exports.back().name, "FileSearch_UpdateAllFolderIndexes");
}

}  // namespace
