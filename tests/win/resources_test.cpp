// The program's resources exist in the three languages with the same
// identifiers and the same structure, and the Chinese texts are translations.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/handles.h"

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

  base::Module m_module;
};

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

}  // namespace
