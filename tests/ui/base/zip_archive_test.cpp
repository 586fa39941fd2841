#include "ui/base/zip_archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

using ui::ZipArchive;
using ui::ZipItemInfo;

namespace {

std::string Bytes(const wchar_t* name) {
  std::string bytes = pexo_test::ReadFileBytes(pexo_test::DataFile(std::wstring(L"zip\\") + name));
  EXPECT_FALSE(bytes.empty()) << "missing test archive";
  return bytes;
}

uint64_t Ticks(const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

uint64_t UnixTicks(uint64_t seconds) { return (seconds + 11644473600ULL) * 10000000ULL; }

// Reads a whole entry in pieces of `chunk` bytes; returns the final result.
uint32_t ReadAll(ZipArchive* archive, int index, std::string& out, uint32_t chunk = 4096) {
  out.clear();
  std::vector<char> buffer(chunk);
  ZipItemInfo info{};
  if (archive->GetItem(index, info) != ui::kZipOk) return ZipArchive::GetLastResult();
  for (int guard = 0; guard < 100000; ++guard) {
    uint32_t result = ZipArchive::UnzipItem(archive, index, buffer.data(), chunk);
    if (result != ui::kZipOk && result != ui::kZipMoreData) return result;
    // Only the entry's size tells how much of the buffer was filled.
    size_t take = std::min<size_t>(chunk, info.uncompressed_size - out.size());
    out.append(buffer.data(), take);
    if (result == ui::kZipOk) return result;
  }
  return 0xFFFFFFFF;
}

class NamesArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = Bytes(L"names.zip");
    archive_ = ZipArchive::Open(bytes_.data(), bytes_.size(), nullptr);
    ASSERT_NE(archive_, nullptr);
  }
  std::map<std::wstring, ZipItemInfo> ItemsByName() {
    std::map<std::wstring, ZipItemInfo> items;
    for (int i = 0; i < archive_->GetItemCount(); ++i) {
      ZipItemInfo info{};
      EXPECT_EQ(archive_->GetItem(i, info), ui::kZipOk);
      EXPECT_EQ(info.index, i);
      items[info.name] = info;
    }
    return items;
  }
  std::string bytes_;
  std::unique_ptr<ZipArchive> archive_;
};

TEST_F(NamesArchiveTest, CountAndIndexBounds) {
  ZipItemInfo info{};
  ASSERT_EQ(archive_->GetItem(-1, info), ui::kZipOk);
  EXPECT_EQ(info.index, 11);
  EXPECT_EQ(info.name[0], 0);
  EXPECT_EQ(archive_->GetItem(11, info), ui::kZipBadArgument);
  EXPECT_EQ(ZipArchive::GetLastResult(), ui::kZipBadArgument);
  EXPECT_EQ(archive_->GetItem(-2, info), ui::kZipBadArgument);
  char buffer[8];
  EXPECT_EQ(ZipArchive::UnzipItem(archive_.get(), 11, buffer, sizeof(buffer)), ui::kZipBadArgument);
  EXPECT_EQ(ZipArchive::UnzipItem(nullptr, 0, buffer, sizeof(buffer)), ui::kZipBadArgument);
}

TEST_F(NamesArchiveTest, NamesAreCleanedOfDrivesRootsAndParentSteps) {
  auto items = ItemsByName();
  for (const wchar_t* name : {L"Dir/File.TXT", L"lead.txt", L"drive.txt", L"evil.txt", L"empty.txt",
                              L"\u00c4rger.txt", L"unix.sh", L"ro.txt", L"folder/", L"stamped.txt"}) {
    EXPECT_EQ(items.count(name), 1u) << std::string(name, name + wcslen(name));
  }
  EXPECT_EQ(items.size(), 11u);
}

TEST_F(NamesArchiveTest, AttributesTimesAndSizes) {
  auto items = ItemsByName();
  EXPECT_EQ(items[L"Dir/File.TXT"].attributes, 0x21u);  // Windows host: taken as they are
  EXPECT_EQ(items[L"unix.sh"].attributes, 0x20u);       // owner may write
  EXPECT_EQ(items[L"ro.txt"].attributes, 0x21u);
  EXPECT_EQ(items[L"folder/"].attributes, 0x30u);
  EXPECT_EQ(items[L"Dir/File.TXT"].uncompressed_size, 17);
  EXPECT_GT(items[L"Dir/File.TXT"].compressed_size, 0);

  FILETIME local{}, utc{};
  ASSERT_TRUE(DosDateTimeToFileTime(((2020 - 1980) << 9) | (5 << 5) | 17, (10 << 11) | (30 << 5) | 10, &local));
  LocalFileTimeToFileTime(&local, &utc);
  const ZipItemInfo& dos = items[L"Dir/File.TXT"];
  EXPECT_EQ(Ticks(dos.modification_time), Ticks(utc));
  EXPECT_EQ(Ticks(dos.access_time), Ticks(utc));
  EXPECT_EQ(Ticks(dos.creation_time), Ticks(utc));

  const ZipItemInfo& stamped = items[L"stamped.txt"];
  EXPECT_EQ(Ticks(stamped.modification_time), UnixTicks(1000000000));
  EXPECT_EQ(Ticks(stamped.access_time), UnixTicks(1100000000));
  EXPECT_EQ(Ticks(stamped.creation_time), UnixTicks(1200000000));
}

TEST_F(NamesArchiveTest, FindIgnoresOnlyAsciiCase) {
  int index = -1;
  ZipItemInfo info{};
  ASSERT_EQ(archive_->FindItem(L"dir/FILE.txt", index, info), ui::kZipOk);
  EXPECT_EQ(index, 0);
  EXPECT_STREQ(info.name, L"Dir/File.TXT");
  EXPECT_EQ(archive_->FindItem(L"\u00c4RGER.TXT", index, info), ui::kZipOk);
  EXPECT_EQ(archive_->FindItem(L"\u00e4rger.txt", index, info), ui::kZipNotFound);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(info.index, -1);
  // The stored raw name is looked up, not the cleaned one.
  EXPECT_EQ(archive_->FindItem(L"/lead.txt", index, info), ui::kZipOk);
  EXPECT_EQ(archive_->FindItem(L"lead.txt", index, info), ui::kZipNotFound);
  // A name of 256 UTF-8 bytes is never found, even though it is stored.
  EXPECT_EQ(archive_->FindItem(std::wstring(252, L'n') + L".txt", index, info), ui::kZipNotFound);
  EXPECT_EQ(ZipArchive::GetLastResult(), ui::kZipNotFound);

  // A miss leaves the archive usable.
  std::string text;
  ASSERT_EQ(archive_->FindItem(L"stamped.txt", index, info), ui::kZipOk);
  EXPECT_EQ(ReadAll(archive_.get(), index, text), ui::kZipOk);
  EXPECT_EQ(text, "stamped");
}

TEST_F(NamesArchiveTest, UnzipInPiecesAndEmptyEntries) {
  int index = -1;
  ZipItemInfo info{};
  ASSERT_EQ(archive_->FindItem(L"Dir/File.TXT", index, info), ui::kZipOk);
  char piece[5];
  EXPECT_EQ(ZipArchive::UnzipItem(archive_.get(), index, piece, sizeof(piece)), ui::kZipMoreData);
  EXPECT_EQ(std::string(piece, 5), "hello");
  char rest[100];
  EXPECT_EQ(ZipArchive::UnzipItem(archive_.get(), index, rest, sizeof(rest)), ui::kZipOk);
  EXPECT_EQ(std::string(rest, 12), " hello hello");
  // After the end the entry starts over.
  std::string text;
  EXPECT_EQ(ReadAll(archive_.get(), index, text, 5), ui::kZipOk);
  EXPECT_EQ(text, "hello hello hello");

  ASSERT_EQ(archive_->FindItem(L"empty.txt", index, info), ui::kZipOk);
  EXPECT_EQ(info.uncompressed_size, 0);
  EXPECT_EQ(ZipArchive::UnzipItem(archive_.get(), index, piece, sizeof(piece)), ui::kZipOk);
}

TEST(ZipPasswordTest, RightWrongAndMissingPasswords) {
  const std::string bytes = Bytes(L"secret.zip");
  const std::string expected_text = [] {
    std::string text;
    for (int i = 0; i < 50; ++i) text += "The quick brown fox jumps over the lazy dog. ";
    return text;
  }();
  auto right = ZipArchive::Open(bytes.data(), bytes.size(), "testpassword1234");
  ASSERT_NE(right, nullptr);
  int index = -1;
  ZipItemInfo info{};
  std::string text;
  ASSERT_EQ(right->FindItem(L"deflated.txt", index, info), ui::kZipOk);
  EXPECT_EQ(ReadAll(right.get(), index, text), ui::kZipOk);
  EXPECT_EQ(text, expected_text);
  ASSERT_EQ(right->FindItem(L"stored.bin", index, info), ui::kZipOk);
  EXPECT_EQ(ReadAll(right.get(), index, text), ui::kZipOk);
  EXPECT_EQ(text.size(), 300u);

  for (const char* password : {"testpassword1235", "", static_cast<const char*>(nullptr)}) {
    auto wrong = ZipArchive::Open(bytes.data(), bytes.size(), password);
    ASSERT_NE(wrong, nullptr);
    for (int i = 0; i < 2; ++i) {
      char buffer[4096];
      EXPECT_EQ(ZipArchive::UnzipItem(wrong.get(), i, buffer, sizeof(buffer)), ui::kZipWrongPassword);
      EXPECT_EQ(ZipArchive::GetLastResult(), ui::kZipWrongPassword);
    }
  }
}

TEST(ZipDamageTest, GarbageAndEmptyBuffersDoNotOpen) {
  EXPECT_EQ(ZipArchive::Open(nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(ZipArchive::GetLastResult(), ui::kZipCannotOpen);
  const std::string garbage(4096, 'x');
  EXPECT_EQ(ZipArchive::Open(garbage.data(), garbage.size(), "pw"), nullptr);
  EXPECT_EQ(ZipArchive::GetLastResult(), ui::kZipCannotOpen);
  std::unique_ptr<ZipArchive> none;
  EXPECT_EQ(ZipArchive::Close(none), ui::kZipBadArgument);
}

// Every operation on a damaged archive ends in a result code.
void ExerciseEveryEntry(const std::string& bytes, const char* password) {
  auto archive = ZipArchive::Open(bytes.data(), bytes.size(), password);
  if (!archive) {
    EXPECT_EQ(ZipArchive::GetLastResult(), ui::kZipCannotOpen);
    return;
  }
  std::vector<char> buffer(64 * 1024);
  const int count = std::min(archive->GetItemCount(), 64);
  for (int i = 0; i < count; ++i) {
    ZipItemInfo info{};
    archive->GetItem(i, info);
    int found = -1;
    archive->FindItem(info.name, found, info);
    for (int piece = 0; piece < 8; ++piece) {
      uint32_t result = ZipArchive::UnzipItem(archive.get(), i, buffer.data(), static_cast<uint32_t>(buffer.size()));
      if (result != ui::kZipMoreData) break;
    }
  }
}

TEST(ZipDamageTest, TruncatedArchivesFailCleanly) {
  for (const wchar_t* name : {L"names.zip", L"secret.zip"}) {
    const std::string bytes = Bytes(name);
    for (size_t length = 1; length < bytes.size(); ++length) {
      ExerciseEveryEntry(bytes.substr(0, length), "testpassword1234");
    }
  }
}

TEST(ZipDamageTest, CorruptedBytesFailCleanly) {
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (const wchar_t* name : {L"names.zip", L"secret.zip"}) {
    const std::string original = Bytes(name);
    for (int round = 0; round < 1500; ++round) {
      std::string bytes = original;
      const int flips = 1 + next() % 4;
      for (int f = 0; f < flips; ++f) bytes[next() % bytes.size()] = static_cast<char>(next());
      ExerciseEveryEntry(bytes, "testpassword1234");
    }
  }
}

}  // namespace
