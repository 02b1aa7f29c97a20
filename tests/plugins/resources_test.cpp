// The plug-ins' resources: the descriptor strings, the picture, and the same
// dialogs and strings in English, Traditional and Simplified Chinese.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/effect_ids.h"
#include "plugin_host.h"

namespace plugin_test {
namespace {

constexpr WORD kEnglish = 1033, kTraditional = 1028, kSimplified = 2052;

const BYTE* ResourceData(HMODULE module, LPCWSTR type, UINT name, WORD language) {
  HRSRC found = ::FindResourceExW(module, type, MAKEINTRESOURCEW(name), language);
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  return loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR out) {
  reinterpret_cast<std::set<WORD>*>(out)->insert(language);
  return TRUE;
}

std::set<WORD> LanguagesOf(HMODULE module, LPCWSTR type, UINT name) {
  std::set<WORD> languages;
  ::EnumResourceLanguagesW(module, type, MAKEINTRESOURCEW(name), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
  return languages;
}

// Reads the variable parts of resource data: words, dwords and strings.
class Reader {
 public:
  explicit Reader(const BYTE* p) : m_p(p) {}
  template <class T>
  T Take() {
    T value;
    std::memcpy(&value, m_p, sizeof value);
    m_p += sizeof value;
    return value;
  }
  void Skip(std::size_t n) { m_p += n; }
  void AlignToDword() { m_p += (4 - reinterpret_cast<UINT_PTR>(m_p) % 4) % 4; }
  std::wstring Counted() {
    std::wstring s(Take<WORD>(), L'\0');
    for (wchar_t& c : s) c = static_cast<wchar_t>(Take<WORD>());
    return s;
  }
  // A terminated string, an ordinal ("#n") or nothing.
  std::wstring SzOrOrdinal() {
    std::wstring s;
    for (WORD c = Take<WORD>(); c != 0; c = Take<WORD>()) {
      if (c == 0xFFFF && s.empty()) return L"#" + std::to_wstring(Take<WORD>());
      s += static_cast<wchar_t>(c);
    }
    return s;
  }

 private:
  const BYTE* m_p;
};

std::map<UINT, std::wstring> StringsOf(HMODULE module, WORD language) {
  std::map<UINT, std::wstring> strings;
  for (UINT block : {1u, 7u}) {
    const BYTE* data = ResourceData(module, RT_STRING, block, language);
    if (!data) continue;
    Reader r(data);
    for (UINT i = 0; i < 16; ++i) {
      if (std::wstring s = r.Counted(); !s.empty()) strings[(block - 1) * 16 + i] = s;
    }
  }
  return strings;
}

// An extended dialog template: its style, font and caption, then per
// control its style, id, class and text.
std::vector<std::wstring> DialogOf(HMODULE module, UINT id, WORD language) {
  Reader r(ResourceData(module, RT_DIALOG, id, language));
  r.Skip(12);  // version, signature, help id, extended style
  std::vector<std::wstring> parts{std::to_wstring(r.Take<DWORD>())};
  const WORD count = r.Take<WORD>();
  r.Skip(8);
  r.SzOrOrdinal();  // menu
  r.SzOrOrdinal();  // class
  const std::wstring caption = r.SzOrOrdinal();
  r.Skip(6);  // point size, weight, italic, character set
  parts.push_back(r.SzOrOrdinal());
  parts.push_back(caption);
  for (WORD i = 0; i < count; ++i) {
    r.AlignToDword();
    r.Skip(8);
    const DWORD style = r.Take<DWORD>();
    r.Skip(8);
    const DWORD control = r.Take<DWORD>();
    parts.push_back(std::to_wstring(style) + L" " + std::to_wstring(control) + L" " +
                    r.SzOrOrdinal());
    parts.push_back(r.SzOrOrdinal());
    r.Skip(r.Take<WORD>());
  }
  return parts;
}

const wchar_t* const kDescriptors[][4] = {
    {L"litefx.dll", L"0x40000001", L"Brightness", L"Adjust the Bitmap's brightness"},
    {L"tonefx.dll", L"0x40000002", L"Contrast", L"Adjust the Bitmap's contrast"},
    {L"edgefx.dll", L"0x40000003", L"Sharpness", L"Adjust the Bitmap's sharpness"},
    {L"tilefx.dll", L"0x40000004", L"Mosaic", L"Adjust the Bitmap's mosaic"},
    {L"warpfx.dll", L"0x40000005", L"Concaveconvex", L"Adjust the Bitmap's concaveconvex"},
};

TEST(PluginResources, DescriptorStringsTranslatedWhereTheyAreWords) {
  for (const auto& d : kDescriptors) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(d[0])));
    PluginHost host(d[0]);
    std::map<UINT, std::wstring> expected{{IDS_EFFECT_ID, d[1]},
                                          {IDS_EFFECT_NAME, d[2]},
                                          {IDS_EFFECT_DESCRIPTION, d[3]},
                                          {IDS_EFFECT_BITMAP, L"2000"},
                                          {IDS_EFFECT_ENTRY, L"SpecialEffects"},
                                          {IDS_LINE_BREAK_1, L"\n"},
                                          {IDS_LINE_BREAK_2, L"\n"}};
    if (std::wstring(d[0]) == L"edgefx.dll") {
      expected[IDS_REGISTRY_KEY] = L"SOFTWARE\\Fotello\\ImageProcessDll\\edgefx\\";
    }
    const auto english = StringsOf(host.Module(), kEnglish);
    for (const auto& [id, text] : expected) EXPECT_EQ(english.at(id), text) << id;

    for (WORD language : {kTraditional, kSimplified}) {
      const auto translated = StringsOf(host.Module(), language);
      ASSERT_EQ(translated.size(), english.size()) << language;
      for (const auto& [id, text] : english) {
        const bool words = id == IDS_EFFECT_NAME || id == IDS_EFFECT_DESCRIPTION ||
                           (id >= IDS_CHANNEL_RED && id <= IDS_CHANNEL_BLUE);
        EXPECT_EQ(translated.at(id) == text, !words) << language << " string " << id;
      }
    }
  }
}

TEST(PluginResources, SameDialogsInEveryLanguageAndThePicture) {
  const std::map<WORD, std::wstring> fonts{
      {kEnglish, L"MS Shell Dlg"}, {kTraditional, L"PMingLiU"}, {kSimplified, L"SimSun"}};
  for (const PluginCase& p : kPlugins) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(p.dll)));
    PluginHost host(p.dll);
    HMODULE m = host.Module();
    const std::set<WORD> all{kEnglish, kTraditional, kSimplified};
    EXPECT_EQ(LanguagesOf(m, RT_STRING, 1), all);
    EXPECT_EQ(LanguagesOf(m, RT_STRING, 7), p.hasChannelBox ? all : std::set<WORD>{});
    ASSERT_EQ(LanguagesOf(m, RT_DIALOG, p.dialogId), all);

    const std::vector<std::wstring> english = DialogOf(m, p.dialogId, kEnglish);
    for (WORD language : all) {
      const std::vector<std::wstring> t = DialogOf(m, p.dialogId, language);
      ASSERT_EQ(t.size(), english.size());
      EXPECT_EQ(t[0], english[0]);  // style
      EXPECT_EQ(t[1], fonts.at(language));
      EXPECT_EQ(t[2], StringsOf(m, language).at(IDS_EFFECT_NAME));
      for (std::size_t i = 3; i < t.size(); i += 2) EXPECT_EQ(t[i], english[i]);  // controls
    }
    // The last controls are Process (edgefx), OK and Cancel.
    EXPECT_EQ(english.back(), L"Cancel");
    EXPECT_EQ(english[english.size() - 3], L"OK");
    EXPECT_EQ(english[english.size() - 5] == L"Process", !p.hasSlider);

    const auto* picture = reinterpret_cast<const BITMAPINFOHEADER*>(
        ResourceData(m, RT_BITMAP, IDB_EFFECT, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->biWidth, p.bitmapSize);
    EXPECT_EQ(picture->biHeight, p.bitmapSize);
    EXPECT_EQ(picture->biBitCount, 24);
  }
}

}  // namespace
}  // namespace plugin_test
