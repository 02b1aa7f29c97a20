// The program's resources exist in the three languages with the same
// identifiers and the same structure, and the Chinese texts are translations.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/handles.h"
#include "resource.h"

namespace {

const WORD kLanguages[] = {1033, 1028, 2052};

struct Enumeration {
  std::map<UINT_PTR, std::set<WORD>> found;
  UINT_PTR name = 0;
};

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) {
  auto* e = reinterpret_cast<Enumeration*>(param);
  e->found[e->name].insert(lang);
  return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  reinterpret_cast<Enumeration*>(param)->name = reinterpret_cast<UINT_PTR>(name);
  ::EnumResourceLanguagesW(module, type, name, OnLanguage, param);
  return TRUE;
}

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe = self;
    exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"Lumora.exe";
    m_module.Reset(::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(m_module) << "cannot load Lumora.exe";
  }

  // Every resource name of a type with the languages it exists in.
  std::map<UINT_PTR, std::set<WORD>> LanguagesOf(LPCWSTR type) const {
    Enumeration e;
    ::EnumResourceNamesW(m_module.Get(), type, OnName, reinterpret_cast<LONG_PTR>(&e));
    return e.found;
  }

  std::wstring String(UINT id, WORD lang) const {
    HRSRC res = ::FindResourceExW(m_module.Get(), RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), lang);
    if (!res) return {};
    const auto* p = static_cast<const WCHAR*>(::LockResource(::LoadResource(m_module.Get(), res)));
    for (UINT i = 0; i < id % 16; ++i) p += *p + 1;
    return std::wstring(p + 1, *p);
  }

  std::vector<UINT> StringIds(WORD lang) const {
    std::vector<UINT> ids;
    for (const auto& [block, langs] : LanguagesOf(RT_STRING)) {
      for (UINT id = (static_cast<UINT>(block) - 1) * 16; id < static_cast<UINT>(block) * 16; ++id) {
        if (!String(id, lang).empty()) ids.push_back(id);
      }
    }
    return ids;
  }

  // The raw bytes of a language-neutral resource; empty when it is missing.
  std::vector<BYTE> Bytes(LPCWSTR type, UINT id) const {
    HRSRC res = ::FindResourceW(m_module.Get(), MAKEINTRESOURCEW(id), type);
    if (!res) return {};
    const auto* p = static_cast<const BYTE*>(::LockResource(::LoadResource(m_module.Get(), res)));
    if (!p) return {};
    return std::vector<BYTE>(p, p + ::SizeofResource(m_module.Get(), res));
  }

  // The commands of a toolbar resource by position, 0 for a separator, after
  // checking its header: version 1, 32 x 32 buttons.
  std::vector<UINT> ToolbarCommands(UINT id) const {
    const std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEW(RT_LUMORA_TOOLBAR), id);
    auto word = [&](size_t i) { return static_cast<UINT>(bytes[2 * i] | bytes[2 * i + 1] << 8); };
    if (bytes.size() < 8 || word(0) != 1 || word(1) != 32 || word(2) != 32) return {};
    const size_t count = word(3);
    if (bytes.size() < 8 + 2 * count) return {};
    std::vector<UINT> commands;
    for (size_t i = 0; i < count; ++i) commands.push_back(word(4 + i));
    return commands;
  }

  base::Module m_module;
};

// A 24-bit bitmap resource: a strip of square images side by side.
struct Strip {
  explicit Strip(std::vector<BYTE> resource) : bytes(std::move(resource)) {
    if (bytes.size() < sizeof(BITMAPINFOHEADER)) return;
    std::memcpy(&header, bytes.data(), sizeof header);
    stride = (header.biWidth * 3 + 3) & ~3;
  }
  bool Valid() const {
    return header.biBitCount == 24 && header.biCompression == BI_RGB && header.biHeight > 0 &&
           bytes.size() >= header.biSize + static_cast<size_t>(stride) * header.biHeight;
  }
  // The pixel at (x, y), top-down, as an RGB value.
  COLORREF Pixel(int x, int y) const {
    const BYTE* p = bytes.data() + header.biSize + (header.biHeight - 1 - y) * stride + 3 * x;
    return RGB(p[2], p[1], p[0]);
  }
  bool SameImage(const Strip& other, int index) const {
    for (int y = 0; y < 32; ++y) {
      for (int x = index * 32; x < index * 32 + 32; ++x) {
        if (Pixel(x, y) != other.Pixel(x, y)) return false;
      }
    }
    return true;
  }
  std::vector<BYTE> bytes;
  BITMAPINFOHEADER header{};
  int stride = 0;
};

const COLORREF kKeyColour = RGB(192, 192, 192);

TEST_F(ProgramResources, MenusDialogsAndStringsExistInAllThreeLanguages) {
  for (LPCWSTR type : {RT_MENU, RT_DIALOG, RT_STRING}) {
    const auto found = LanguagesOf(type);
    EXPECT_FALSE(found.empty());
    for (const auto& [name, langs] : found) {
      EXPECT_EQ(langs, std::set<WORD>(std::begin(kLanguages), std::end(kLanguages)))
          << "resource " << name << " of type " << reinterpret_cast<UINT_PTR>(type);
    }
  }
}

TEST_F(ProgramResources, EveryStringIsTranslated) {
  const std::vector<UINT> english = StringIds(1033);
  ASSERT_FALSE(english.empty());
  for (WORD lang : {WORD(1028), WORD(2052)}) {
    EXPECT_EQ(StringIds(lang), english) << "language " << lang;
    for (UINT id : english) {
      const std::wstring text = String(id, lang);
      EXPECT_NE(text, String(id, 1033)) << "string " << id << " not translated for " << lang;
      // The part before a line break is the status text, the rest the tip:
      // both parts must be there in every language.
      EXPECT_EQ(text.find(L'\n') == std::wstring::npos,
                String(id, 1033).find(L'\n') == std::wstring::npos)
          << "string " << id;
    }
  }
}

TEST_F(ProgramResources, MenusHaveTheSameCommandsInEveryLanguage) {
  for (const auto& [name, langs] : LanguagesOf(RT_MENU)) {
    std::vector<std::vector<UINT>> reference;
    for (WORD lang : kLanguages) {
      HRSRC res = ::FindResourceExW(m_module.Get(), RT_MENU, MAKEINTRESOURCEW(name), lang);
      ASSERT_NE(res, nullptr);
      HMENU menu = ::LoadMenuIndirectW(::LockResource(::LoadResource(m_module.Get(), res)));
      ASSERT_NE(menu, nullptr);
      std::vector<std::vector<UINT>> shape;
      for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        std::vector<UINT> ids;
        HMENU sub = ::GetSubMenu(menu, i);
        for (int j = 0; sub && j < ::GetMenuItemCount(sub); ++j) ids.push_back(::GetMenuItemID(sub, j));
        shape.push_back(ids);
      }
      ::DestroyMenu(menu);
      if (reference.empty()) reference = shape;
      EXPECT_EQ(shape, reference) << "menu " << name << " language " << lang;
    }
  }
}

TEST_F(ProgramResources, ModeToolbarsHoldTheirCommandsAtTheirPositions) {
  EXPECT_EQ(ToolbarCommands(185),
            (std::vector<UINT>{32862, 0,     32864, 32865, 0,     32866, 32867, 32868, 32869,
                               32870, 0,     32871, 32872, 0,     32873, 32874, 0,     32875,
                               0,     32876, 0,     32969, 32968, 0,     32877}));
  EXPECT_EQ(ToolbarCommands(216),
            (std::vector<UINT>{32914, 0, 32915, 32916, 32917, 32918, 32919, 32920, 32921, 32922,
                               32923, 32924, 32925, 32926, 32927, 32928, 32929, 32930}));
  // Every button with an image has a status text and a tool tip.
  for (UINT id : {32862, 32864, 32865, 32866, 32867, 32868, 32869, 32870, 32871, 32872, 32873,
                  32874, 32875, 32876, 32969, 32968, 32877, 32914, 32915, 32916, 32917, 32918}) {
    const std::wstring text = String(id, 1033);
    const size_t tip = text.find(L'\n');
    EXPECT_TRUE(tip != std::wstring::npos && tip > 0 && tip + 1 < text.size()) << "command " << id;
  }
}

TEST_F(ProgramResources, ModeToolbarImagesAreStripsOf32By32OnTheKeyColour) {
  const struct {
    UINT id;
    int images;
  } strips[] = {{237, 17}, {278, 17}, {218, 5}};
  for (const auto& s : strips) {
    const Strip strip(Bytes(RT_BITMAP, s.id));
    ASSERT_TRUE(strip.Valid()) << "bitmap " << s.id << " is not a 24-bit bitmap";
    EXPECT_EQ(strip.header.biWidth, 32 * s.images) << "bitmap " << s.id;
    EXPECT_EQ(strip.header.biHeight, 32) << "bitmap " << s.id;
    for (int i = 0; i < s.images && strip.header.biWidth == 32 * s.images; ++i) {
      EXPECT_EQ(strip.Pixel(32 * i, 0), kKeyColour) << "bitmap " << s.id << " image " << i;
    }
  }
  // The picture over the size limit greys the five effects and the two
  // rotations (images 3 to 9) and keeps the others as they are.
  const Strip editable(Bytes(RT_BITMAP, 237));
  const Strip tooBig(Bytes(RT_BITMAP, 278));
  ASSERT_TRUE(editable.Valid() && tooBig.Valid());
  ASSERT_EQ(editable.header.biWidth, tooBig.header.biWidth);
  for (int i = 0; i < 17; ++i) {
    EXPECT_EQ(editable.SameImage(tooBig, i), i < 3 || i > 9) << "image " << i;
  }
}

TEST_F(ProgramResources, VideoFrameIconHasTheSmallAndTheLargeSize) {
  const std::vector<BYTE> group = Bytes(RT_GROUP_ICON, 240);
  ASSERT_GE(group.size(), 6u);
  const size_t count = group[4] | group[5] << 8;
  ASSERT_GE(group.size(), 6 + 14 * count);
  std::set<int> sizes;
  for (size_t i = 0; i < count; ++i) {
    const BYTE* entry = group.data() + 6 + 14 * i;
    EXPECT_EQ(entry[0], entry[1]) << "icon image " << i << " is not square";
    sizes.insert(entry[0]);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

TEST_F(ProgramResources, ModeTextsAreExactInEnglish) {
  const struct {
    UINT id;
    const wchar_t* text;
  } texts[] = {
      {57346, L"Back"},
      {57347, L"Prev"},
      {57348, L"Next"},
      {57349, L"Prev"},
      {57350, L"Next"},
      {57359, L"Lumora - Image Editing ("},
      {57360, L"Playing Video ("},
      {57398, L"Help file not find.Please reinstall Lumora."},
  };
  for (const auto& t : texts) EXPECT_EQ(String(t.id, 1033), t.text) << "string " << t.id;

  // Status texts are the part before the tool tip, blanks and spelling kept.
  const struct {
    UINT id;
    const wchar_t* status;
  } statuses[] = {
      {32862, L"Standard Mode "}, {32864, L"Open File "},  {32865, L"Save File "},
      {32866, L"Brightness "},    {32867, L"Contrast "},   {32868, L"Sharpness "},
      {32869, L"Mosaic "},        {32870, L"Concavecon "}, {32871, L"RotateCCW "},
      {32872, L"RotateCW "},      {32873, L"Zoom In "},    {32874, L"Zoom Out"},
      {32875, L"Fit In Window "}, {32876, L"1:1 "},        {32969, L"Privious picture"},
      {32968, L"Next picture"},   {32877, L"Print "},      {32914, L"Standard Mode "},
      {32915, L"Open File "},     {32916, L"Save File "},  {32917, L"Privious video"},
      {32918, L"Next video"},
  };
  for (const auto& s : statuses) {
    const std::wstring text = String(s.id, 1033);
    EXPECT_EQ(text.substr(0, text.find(L'\n')), s.status) << "command " << s.id;
  }
}

}  // namespace
