#include "core/album_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace core {
namespace {

TEST(AlbumRules, LabelIsTheFolderName) {
  EXPECT_EQ(AlbumLabel("C:\\Docs\\Lumora\\Trip 2006"), "Trip 2006");
  EXPECT_EQ(AlbumLabel("plain"), "plain");
  EXPECT_EQ(AlbumLabel("C:\\ends\\"), "");
}

TEST(AlbumRules, NoAlbumMayBeTheEditorsWorkingFolder) {
  for (const wchar_t* name : {L"Edit", L"edit", L"EDIT", L"eDiT", L"Edit.", L"Edit ", L"edit . ."})
    EXPECT_TRUE(IsEditFolderName(name)) << name;
  for (const wchar_t* name : {L"", L".", L"Edits", L"Edi", L" Edit", L"Edit.bmp", L"My Edit"})
    EXPECT_FALSE(IsEditFolderName(name)) << name;
}

TEST(AlbumRules, PastedFilesTakeCopyOfNames) {
  EXPECT_EQ(PasteCandidate(L"D:\\A", L"a.jpg", 0), L"D:\\A\\a.jpg");
  EXPECT_EQ(PasteCandidate(L"D:\\A", L"a.jpg", 1), L"D:\\A\\Copy of a.jpg");
  EXPECT_EQ(PasteCandidate(L"D:\\A", L"a.jpg", 2), L"D:\\A\\Copy of(1)a.jpg");
  EXPECT_EQ(PasteCandidate(L"D:\\A", L"a.jpg", 11), L"D:\\A\\Copy of(10)a.jpg");
}

// Sorts titles the way the list does and gives the resulting order.
std::vector<std::string> SortTitles(std::vector<std::string> t) {
  BubbleSort(
      t.size(), [&](std::size_t a, std::size_t b) { return TitleGreater(t[a], t[b]); },
      [&](std::size_t a, std::size_t b) { std::swap(t[a], t[b]); });
  return t;
}

TEST(AlbumRules, NameOrderIgnoresCaseAndPadsWithBlanks) {
  EXPECT_EQ(SortTitles({"IMG2", "img10"}), (std::vector<std::string>{"img10", "IMG2"}));
  // "ab" padded to "ab " sorts before "ab0" (blank 32 < '0' 48).
  EXPECT_EQ(SortTitles({"ab0", "ab", "AA"}), (std::vector<std::string>{"AA", "ab", "ab0"}));
  // Characters above 127 count by their absolute signed value: 0xFF is 1.
  EXPECT_FALSE(TitleGreater("\xFF", "a"));
  EXPECT_TRUE(TitleGreater("a", "\xFF"));
  // An empty right-hand title is never swapped, so it can stay behind others.
  EXPECT_FALSE(TitleGreater("zzz", ""));
  EXPECT_TRUE(TitleGreater("b", "a"));
}

TEST(AlbumRules, EqualKeysKeepTheirOrder) {
  std::vector<std::pair<unsigned, char>> items{{5, 'a'}, {3, 'b'}, {5, 'c'}, {3, 'd'}, {1, 'e'}};
  BubbleSort(
      items.size(), [&](std::size_t a, std::size_t b) { return items[a].first > items[b].first; },
      [&](std::size_t a, std::size_t b) { std::swap(items[a], items[b]); });
  std::string order;
  for (auto& i : items) order += i.second;
  EXPECT_EQ(order, "ebdac");
}

TEST(AlbumRules, DateKeyFoldsTheTime) {
  const std::uint32_t k = DateKey(2006, 5, 17, 13, 45, 30);
  EXPECT_EQ(k, ((((366u * 2006 + 32u * 5 + 17) * 24 + 13) * 60 + 45) * 60 + 30));
  EXPECT_LT(DateKey(2006, 5, 17, 13, 45, 30), DateKey(2006, 5, 17, 13, 45, 31));
  EXPECT_LT(DateKey(2006, 1, 31, 0, 0, 0), DateKey(2006, 2, 1, 0, 0, 0));
  // Wraps modulo 2^32 instead of overflowing into undefined behaviour.
  EXPECT_EQ(DateKey(20000, 1, 1, 0, 0, 0),
            static_cast<std::uint32_t>((((366ull * 20000 + 33) * 24) * 60) * 60));
}

TEST(AlbumRules, TreeMenuGreying) {
  const TreeMenuState blank = TreeMenuFor(false, false, true);
  EXPECT_FALSE(blank.rename || blank.remove || blank.copy || blank.paste);
  const TreeMenuState def = TreeMenuFor(true, true, true);
  EXPECT_FALSE(def.rename || def.remove);
  EXPECT_TRUE(def.copy && def.paste);  // the default album's files can be copied and received
  const TreeMenuState other = TreeMenuFor(true, false, false);
  EXPECT_TRUE(other.rename && other.remove && other.copy);
  EXPECT_FALSE(other.paste);  // nothing copied yet
}

TEST(AlbumRules, DisplayModes) {
  DisplayMode m = DisplayMode::Large;
  EXPECT_TRUE(ParseDisplayMode("2", m));
  EXPECT_EQ(m, DisplayMode::Details);
  EXPECT_FALSE(ParseDisplayMode("7", m));
  EXPECT_FALSE(ParseDisplayMode("", m));
  EXPECT_FALSE(ParseDisplayMode("0", m));
  EXPECT_EQ(NextDisplayMode(DisplayMode::Large), DisplayMode::Details);
  EXPECT_EQ(NextDisplayMode(DisplayMode::Details), DisplayMode::Small);
  EXPECT_EQ(NextDisplayMode(DisplayMode::Small), DisplayMode::Large);
}

TEST(AlbumRules, GridOfCells) {
  const CellGeometry large = GeometryOf(DisplayMode::Large);
  EXPECT_EQ(GridColumns(16 + 3 * 143 + 10, large), 3);
  EXPECT_EQ(GridColumns(50, large), 1);
  const CellRect r = GridCell(4, 3, large);
  EXPECT_EQ(r.left, 143 + 5);
  EXPECT_EQ(r.top, 152 + 5);
  EXPECT_EQ(r.right - r.left, 138);
  EXPECT_EQ(r.bottom - r.top, 147);
  const CellGeometry small = GeometryOf(DisplayMode::Small);
  EXPECT_EQ(GridCell(0, 5, small).left, 10);
  EXPECT_EQ(small.boxWidth * 3, small.boxHeight * 4);
  EXPECT_EQ(ResizeColumns(2 * 2 + 5 + 16 + 2 * 143, 2, 16, large), 2);
  EXPECT_EQ(GridRows(7, 3), 3);
  EXPECT_EQ(GridRows(6, 3), 2);
  EXPECT_EQ(GridRows(0, 3), 0);
}

TEST(AlbumRules, LongLabelsAreCut) {
  EXPECT_FALSE(CellLabelCut(12, 138));  // P0000001.BMP
  EXPECT_FALSE(CellLabelCut(13, 138));  // 13 still fit
  EXPECT_EQ(CellLabelCut(14, 138), std::size_t{11});
  EXPECT_FALSE(CellLabelCut(8, 92));
  EXPECT_EQ(CellLabelCut(9, 92), std::size_t{7});
  EXPECT_EQ(CellLabelCut(1, 3), std::nullopt);  // no room at all: left alone
}

TEST(AlbumRules, WildcardSearch) {
  EXPECT_TRUE(MatchesWildcard("*.jpg", "A.JPG"));
  EXPECT_FALSE(MatchesWildcard("*.jpg", "a.jpeg"));
  EXPECT_TRUE(MatchesWildcard("P000000?.bmp", "P0000001.BMP"));
  EXPECT_FALSE(MatchesWildcard("P000000?.bmp", "P00000012.BMP"));
  EXPECT_TRUE(MatchesWildcard("*a*b*", "xxaYYbzz"));
  EXPECT_FALSE(MatchesWildcard("*a*b", "xxaYYbzz"));
  EXPECT_TRUE(MatchesWildcard("exact.avi", "Exact.AVI"));
  EXPECT_TRUE(MatchesWildcard("*", ""));
}

TEST(AlbumRules, FileKinds) {
  EXPECT_EQ(KindOfFile("x.Bmp"), AlbumFileKind::Bitmap);
  EXPECT_EQ(KindOfFile("x.AVI"), AlbumFileKind::Video);
  EXPECT_EQ(KindOfFile("x.jpg"), AlbumFileKind::Jpeg);
  EXPECT_EQ(KindOfFile("x.jpeg"), AlbumFileKind::Other);
  EXPECT_EQ(KindOfFile("noext"), AlbumFileKind::Other);
}

}  // namespace
}  // namespace core
