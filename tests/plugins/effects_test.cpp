// Each effect through its library's entry and dialog: what OK writes over
// the caller's image. The arithmetic itself is pinned by the core tests; here
// the core functions tell what the dialogs must have computed, and from what.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "common/effect_ids.h"
#include "core/effects/mosaic.h"
#include "core/effects/sharpen.h"
#include "core/effects/tone_maps.h"
#include "core/effects/warp.h"
#include "plugin_host.h"
#include "test_dib.h"

namespace plugin_test {
namespace {

core::effects::Geometry GeometryOf(const TestDib& dib) {
  return {dib.width(), dib.height(), dib.stride()};
}

TestDib Photo() { return TestDib::FromFile(ProgramFolder() + L"coffee.bmp"); }

// Opens `dll` on `dib`, lets `drive` work the dialog, presses OK.
template <class Drive>
void RunAndOk(const wchar_t* dll, TestDib& dib, Drive drive) {
  PluginHost host(dll);
  ASSERT_EQ(host.Call(dib.header()), PluginHost::kUntouched);
  drive(host);
  host.Click(IDOK);
  EXPECT_TRUE(dib.GuardIntact());
}

TEST(LitefxEffect, ReleasesApplyKeyboardMovesDoNot) {
  TestDib dib(2, 2), keyed(2, 2), black(3, 3);
  for (TestDib* d : {&dib, &keyed}) {
    for (int i = 0; i < 4; ++i) d->set(i % 2, i / 2, {100, 50, 150});  // level 100
  }
  RunAndOk(L"litefx.dll", dib, [&dib](PluginHost& h) {
    h.ReleaseSlider(255);
    EXPECT_EQ(dib.at(1, 1), (Bgr{100, 50, 150}));  // nothing reaches the caller before OK
  });
  EXPECT_EQ(dib.at(0, 0), (Bgr{254, 127, 255}));
  EXPECT_EQ(dib.at(1, 1), (Bgr{254, 127, 255}));

  RunAndOk(L"litefx.dll", keyed, [](PluginHost& h) { h.Slide(255, TB_LINEDOWN); });
  EXPECT_EQ(keyed.at(0, 1), (Bgr{100, 50, 150}));
  RunAndOk(L"litefx.dll", black, [](PluginHost& h) { h.ReleaseSlider(200); });  // level 0
  EXPECT_EQ(black.at(2, 2), (Bgr{0, 0, 0}));
}

// Choosing a channel takes the working image as the new base: the red
// adjustment starts from the brightened picture, with the level measured
// again (a third of the red mean) and the slider put back there.
TEST(LitefxEffect, ChannelChangeBuildsOnTheEarlierResult) {
  TestDib dib(2, 2);
  for (int i = 0; i < 4; ++i)
    dib.set(i % 2, i / 2, {40, 40, static_cast<std::uint8_t>(60 + 20 * i)});
  RunAndOk(L"litefx.dll", dib, [](PluginHost& h) {
    h.ReleaseSlider(112);  // level 680 / 12 = 56: factor 2
    h.SelectChannel(1);    // red now averages 180: level 60
    EXPECT_EQ(::SendMessageW(h.Control(IDC_SLIDER), TBM_GETPOS, 0, 0), 60);
    h.ReleaseSlider(30);  // factor 0.5 on red only
  });
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(dib.at(i % 2, i / 2), (Bgr{80, 80, static_cast<std::uint8_t>(60 + 20 * i)}));
  }
}

TEST(TonefxEffect, EveryReleaseStartsFromTheBaseOnTheChosenChannel) {
  TestDib photo = Photo();
  ASSERT_EQ(photo.width(), 300);
  const TestDib original = photo;
  RunAndOk(L"tonefx.dll", photo, [](PluginHost& h) {
    h.ReleaseSlider(0);
    h.ReleaseSlider(45);
  });
  EXPECT_EQ(photo.bytes(), original.bytes());

  TestDib expected = photo;
  const auto g = GeometryOf(photo);
  const unsigned level = core::effects::MeanLevel(photo.pixels(), g, core::effects::Channel::Blue);
  core::effects::ApplyByteMap(photo.pixels(), expected.pixels(), g, core::effects::Channel::Blue,
                              core::effects::ContrastMap(70, level));
  RunAndOk(L"tonefx.dll", photo, [](PluginHost& h) {
    h.SelectChannel(3);
    h.ReleaseSlider(20);
    h.ReleaseSlider(70);
  });
  EXPECT_EQ(photo.bytes(), expected.bytes());
}

class EdgefxEffect : public ::testing::Test {
 protected:
  static constexpr wchar_t kKey[] = L"SOFTWARE\\Fotello\\ImageProcessDll\\edgefx";
  void SetUp() override { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey); }

  static void WriteKernel(const core::effects::Kernel& kernel, std::size_t count) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    for (std::size_t i = 0; i < count; ++i) {
      ::RegSetValueExW(key, (L"Matrix[" + std::to_wstring(i) + L"]").c_str(), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&kernel[i]), sizeof kernel[i]);
    }
    ::RegCloseKey(key);
  }

  static TestDib Sharpened(const TestDib& dib, const core::effects::Kernel& kernel,
                           core::effects::Channel channel = core::effects::Channel::Rgb) {
    TestDib out = dib;
    core::effects::Sharpen(dib.pixels(), out.pixels(), GeometryOf(dib), channel, kernel);
    return out;
  }
};

// Process twice gives the same picture; a second channel is sharpened on
// top of the first result.
TEST_F(EdgefxEffect, ProcessFromTheBaseAndChannelsBuildOnEachOther) {
  const auto& k = core::effects::kDefaultKernel;
  TestDib dib(20, 15, 21);
  const TestDib expected = Sharpened(Sharpened(dib, k), k, core::effects::Channel::Green);
  RunAndOk(L"edgefx.dll", dib, [](PluginHost& h) {
    h.Click(IDC_PROCESS);
    h.Click(IDC_PROCESS);
    h.SelectChannel(2);
    h.Click(IDC_PROCESS);
  });
  EXPECT_EQ(dib.bytes(), expected.bytes());
}

TEST_F(EdgefxEffect, RegistryKernelIsTakenWholeOrNotAtAll) {
  const core::effects::Kernel identity{0, 0, 0, 0, 1, 0, 0, 0, 0};
  const core::effects::Kernel shift{1, 0, 0, 0, 0, 0, 0, 0, 0};
  const TestDib original(12, 9, 23);
  const struct {
    const core::effects::Kernel& kernel;
    std::size_t values;
    const core::effects::Kernel& expected;
  } cases[] = {
      {identity, 9, identity},
      {shift, 9, shift},
      {shift, 8, core::effects::kDefaultKernel},  // "Matrix[8]" missing
  };
  for (const auto& c : cases) {
    WriteKernel(c.kernel, c.values);
    TestDib dib = original;
    RunAndOk(L"edgefx.dll", dib, [](PluginHost& h) { h.Click(IDC_PROCESS); });
    EXPECT_EQ(dib.bytes(), Sharpened(original, c.expected).bytes()) << c.values;
  }
}

TEST(TilefxEffect, NothingBeforeAReleaseThenTilesOfTheCallersImage) {
  TestDib photo = Photo();
  const TestDib original = photo;
  RunAndOk(L"tilefx.dll", photo, [](PluginHost&) {});
  EXPECT_EQ(photo.bytes(), original.bytes());

  TestDib expected = photo;
  core::effects::Mosaic(photo.pixels(), expected.pixels(), GeometryOf(photo), 2);
  RunAndOk(L"tilefx.dll", photo, [](PluginHost& h) {
    h.ReleaseSlider(8);
    h.ReleaseSlider(2);
  });
  EXPECT_EQ(photo.bytes(), expected.bytes());
}

// What the slider shows is what OK gives: a click on the track pages the
// thumb and applies when the button comes up, a drag applies where it is let
// go, and keys move the thumb without applying anything.
TEST(EffectSlider, MouseReleasesApplyWhereTheThumbStandsKeysDoNot) {
  const TestDib original = Photo();
  const auto tiled = [&original](int size) {
    TestDib expected = original;
    core::effects::Mosaic(original.pixels(), expected.pixels(), GeometryOf(original), size);
    return expected.bytes();
  };
  const auto position = [](const PluginHost& h) {
    return static_cast<int>(::SendMessageW(h.Control(IDC_SLIDER), TBM_GETPOS, 0, 0));
  };

  TestDib clicked = original;
  int clickedAt = 0;
  RunAndOk(L"tilefx.dll", clicked, [&](PluginHost& h) {
    RECT channel{};
    ::SendMessageW(h.Control(IDC_SLIDER), TBM_GETCHANNELRECT, 0,
                   reinterpret_cast<LPARAM>(&channel));
    const POINT track{channel.right - 2, h.ThumbCentre().y};
    h.MouseOnSlider(track, track);
    clickedAt = position(h);
  });
  EXPECT_EQ(clickedAt, 2 + 3);  // one page to the right of the thumb
  EXPECT_EQ(clicked.bytes(), tiled(clickedAt));

  TestDib dragged = original;
  int draggedTo = 0;
  RunAndOk(L"tilefx.dll", dragged, [&](PluginHost& h) {
    const POINT thumb = h.ThumbCentre();
    h.MouseOnSlider(thumb, {thumb.x + 40, thumb.y});
    draggedTo = position(h);
  });
  EXPECT_GT(draggedTo, 2);
  EXPECT_EQ(dragged.bytes(), tiled(draggedTo));

  TestDib keyed = original;
  int keyedTo = 0;
  RunAndOk(L"tilefx.dll", keyed, [&](PluginHost& h) {
    for (WPARAM key : {VK_RIGHT, VK_NEXT}) {
      ::SendMessageW(h.Control(IDC_SLIDER), WM_KEYDOWN, key, 1);
      ::SendMessageW(h.Control(IDC_SLIDER), WM_KEYUP, key, 0xC0000001);
    }
    PluginHost::Pump();
    keyedTo = position(h);
  });
  EXPECT_EQ(keyedTo, 2 + 1 + 3);
  EXPECT_EQ(keyed.bytes(), original.bytes());
}

TEST(WarpfxEffect, BothDirectionsFromTheCallersImage) {
  TestDib photo = Photo();
  ASSERT_EQ(photo.height(), 200);
  const TestDib original = photo;
  TestDib expected = photo;
  core::effects::Warp(photo.pixels(), expected.pixels(), GeometryOf(photo), -150);
  RunAndOk(L"warpfx.dll", photo, [](PluginHost& h) {
    h.ReleaseSlider(90);
    h.ReleaseSlider(-150);
  });
  EXPECT_EQ(photo.bytes(), expected.bytes());

  photo = original;
  RunAndOk(L"warpfx.dll", photo, [](PluginHost& h) {
    h.ReleaseSlider(90);
    h.ReleaseSlider(0);
  });
  EXPECT_EQ(photo.bytes(), original.bytes());
}

}  // namespace
}  // namespace plugin_test
