// ZImgLoad.dll as its callers meet it: the two exports by name and ordinal,
// handles that are used once, and saves that never leave a broken file.
#include <gtest/gtest.h>

#include <set>

#include "zimg_support.h"

namespace {

using zimg_test::Bytes;
using zimg_test::Library;

TEST(ZImgExportsTest, NamesAndOrdinalsGiveTheSameTwoEntriesAndNothingElse) {
  HMODULE module = Library::Module();
  EXPECT_EQ(::GetProcAddress(module, "ZLoadImg"), ::GetProcAddress(module, MAKEINTRESOURCEA(2)));
  EXPECT_EQ(::GetProcAddress(module, "ZSaveImg"), ::GetProcAddress(module, MAKEINTRESOURCEA(3)));
  EXPECT_NE(::GetProcAddress(module, "ZLoadImg"), nullptr);
  EXPECT_NE(::GetProcAddress(module, "ZSaveImg"), nullptr);

  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  EXPECT_EQ(exports->Base, 2u);
  EXPECT_EQ(exports->NumberOfFunctions, 2u);
  ASSERT_EQ(exports->NumberOfNames, 2u);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::set<std::string> exported{reinterpret_cast<const char*>(base + names[0]),
                                 reinterpret_cast<const char*>(base + names[1])};
  EXPECT_EQ(exported, (std::set<std::string>{"ZLoadImg", "ZSaveImg"}));
}

class ZImgHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_source = m_folder.Path() / L"source.bmp";
    zimg_test::WriteBytes(m_source, zimg_test::BuildBmp(zimg_test::PatternBmp(9, 5)));
  }
  std::filesystem::path File(const wchar_t* name) const { return m_folder.Path() / name; }
  // Every name in the folder.
  std::set<std::wstring> Names() const {
    std::set<std::wstring> names;
    for (const auto& e : std::filesystem::directory_iterator(m_folder.Path()))
      names.insert(e.path().filename().wstring());
    return names;
  }

  testing_win::TempFolder m_folder;
  std::filesystem::path m_source;
};

TEST_F(ZImgHandleTest, MissingOrUnreadableFilesGiveNoPicture) {
  EXPECT_EQ(Library::Load(File(L"missing.bmp")), nullptr);
  EXPECT_EQ(Library::Load(m_folder.Path()), nullptr) << "a folder";
  auto load = reinterpret_cast<ZLoadImgFn>(reinterpret_cast<void*>(::GetProcAddress(Library::Module(), "ZLoadImg")));
  EXPECT_EQ(load(nullptr), nullptr);
  EXPECT_EQ(load(""), nullptr);
  zimg_test::WriteBytes(File(L"text.jpg"), {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(Library::Load(File(L"text.jpg")), nullptr) << "neither BMP nor JPEG";
}

TEST_F(ZImgHandleTest, EachPictureIsWrittenOnceAndOtherHandlesAreRefused) {
  void* picture = Library::Load(m_source);
  ASSERT_NE(picture, nullptr);
  EXPECT_NE(Library::Save(picture, File(L"first.bmp"), kZImgBmp), 0);
  EXPECT_EQ(Library::Save(picture, File(L"again.bmp"), kZImgBmp), 0) << "used handle";
  EXPECT_EQ(Library::Save(nullptr, File(L"null.bmp"), kZImgBmp), 0);
  int local = 0;
  EXPECT_EQ(Library::Save(&local, File(L"stray.bmp"), kZImgBmp), 0) << "unknown handle";

  // A failed save uses the handle up as well: the caller never retries.
  void* second = Library::Load(m_source);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Library::Save(second, File(L"format7.bmp"), 7), 0);
  EXPECT_EQ(Library::Save(second, File(L"late.bmp"), kZImgBmp), 0);

  // Two loads of one file are two pictures.
  void* a = Library::Load(m_source);
  void* b = Library::Load(m_source);
  EXPECT_NE(a, b);
  EXPECT_NE(Library::Save(b, File(L"b.jpg"), kZImgJpeg), 0);
  EXPECT_NE(Library::Save(a, File(L"a.jpg"), kZImgJpeg), 0);
  EXPECT_EQ(Names(), (std::set<std::wstring>{L"source.bmp", L"first.bmp", L"a.jpg", L"b.jpg"}));
}

TEST_F(ZImgHandleTest, AFailedSaveLeavesTheDestinationAsItWas) {
  const Bytes old = {'o', 'l', 'd'};
  zimg_test::WriteBytes(File(L"keep.bmp"), old);
  EXPECT_EQ(Library::Save(Library::Load(m_source), File(L"keep.bmp"), 2), 0) << "unknown format";
  EXPECT_EQ(zimg_test::ReadBytes(File(L"keep.bmp")), old);

  std::filesystem::create_directory(File(L"folder.bmp"));
  EXPECT_EQ(Library::Save(Library::Load(m_source), File(L"folder.bmp"), kZImgBmp), 0);
  EXPECT_EQ(Library::Save(Library::Load(m_source), m_folder.Path() / L"none" / L"x.bmp", kZImgBmp), 0);
  EXPECT_EQ(Names(), (std::set<std::wstring>{L"source.bmp", L"keep.bmp", L"folder.bmp"}))
      << "no temporary file stays behind";
}

TEST_F(ZImgHandleTest, ASaveReplacesALargerFileWhole) {
  zimg_test::WriteBytes(File(L"big.bmp"), Bytes(5000, 0x55));
  ASSERT_NE(Library::Save(Library::Load(m_source), File(L"big.bmp"), kZImgBmp), 0);
  Bytes expected = zimg_test::ReadBytes(m_source);
  expected[38] = expected[39] = expected[42] = expected[43] = 0;  // resolution is not kept
  EXPECT_EQ(zimg_test::ReadBytes(File(L"big.bmp")), expected);

  // Source and destination may be the same file.
  ASSERT_NE(Library::Save(Library::Load(File(L"big.bmp")), File(L"big.bmp"), kZImgJpeg), 0);
  EXPECT_NE(Library::Load(File(L"big.bmp")), nullptr);
}

}  // namespace
