// The contract every plug-in keeps: refusals, set-up, the notifications of
// OK, Cancel, the close box and unloading, the dialog's layout, the export.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>

#include "common/effect_ids.h"
#include "plugin_host.h"
#include "test_dib.h"

namespace plugin_test {
namespace {

using plugins::kStatusCommandRefused;
using plugins::kStatusNot24Bit;
using plugins::kStatusSetupFailed;

// Runs `check` once per plug-in with a freshly loaded library.
template <class Check>
void ForEachPlugin(Check check) {
  for (const PluginCase& p : kPlugins) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(p.dll)));
    PluginHost host(p.dll);
    ASSERT_TRUE(host.Entry());
    check(p, host);
  }
}

// A change of the working image, as the user would make it.
void Adjust(PluginHost& host, const PluginCase& p) {
  if (p.hasSlider) {
    host.ReleaseSlider(std::wstring(p.dll) == L"warpfx.dll" ? -20 : 9);
  } else {
    host.Click(IDC_PROCESS);
  }
}

TEST(PluginContract, RefusalsShowNothingAndNotifyNobody) {
  ForEachPlugin([](const PluginCase& p, PluginHost& host) {
    TestDib deep(4, 4, 0, 32), palette(4, 4, 0, 8), dib(5, 3), topDown(5, 3), cut(5, 3);
    EXPECT_EQ(host.Call(deep.header()), kStatusNot24Bit);
    EXPECT_EQ(host.Call(palette.header()), kStatusNot24Bit);
    EXPECT_EQ(host.Call(dib.header(), 0), kStatusCommandRefused);
    if (!p.acceptsAnyCommand) {
      EXPECT_EQ(host.Call(dib.header(), 7), kStatusCommandRefused);
    }
    topDown.header()->biHeight = -3;
    EXPECT_EQ(host.Call(topDown.header()), kStatusSetupFailed);
    cut.header()->biSizeImage = 47;  // the rows need 48 bytes
    EXPECT_EQ(host.Call(cut.header()), kStatusSetupFailed);

    std::uint32_t status = PluginHost::kUntouched;
    plugins::EffectParams params{28, plugins::kEffectCommand, 0, &status, nullptr,
                                 0,  host.NotifyWindow()};
    host.Entry()(&params);
    EXPECT_EQ(status, kStatusSetupFailed);
    params = {28, plugins::kEffectCommand, 0, &status, dib.header(), 0, nullptr};
    status = PluginHost::kUntouched;
    host.Entry()(&params);
    EXPECT_EQ(status, kStatusSetupFailed);
    params = {28, plugins::kEffectCommand, 0, nullptr, dib.header(), 0, host.NotifyWindow()};
    host.Entry()(&params);  // nowhere to report: nothing happens
    host.Entry()(nullptr);

    EXPECT_FALSE(host.Dialog());
    EXPECT_EQ(host.Notifications(), 0);
  });
}

TEST(PluginContract, OpensWithAnyCommandItAcceptsAndFillsInTheImageSize) {
  ForEachPlugin([](const PluginCase& p, PluginHost& host) {
    TestDib dib(5, 3, 0, 24, false);
    const std::uint32_t command = p.acceptsAnyCommand ? 7 : plugins::kEffectCommand;
    EXPECT_EQ(host.Call(dib.header(), command), PluginHost::kUntouched);
    EXPECT_EQ(dib.header()->biSizeImage, 48u);  // stride 16 x 3 rows
    EXPECT_TRUE(host.DialogVisible());
  });
}

TEST(PluginContract, OkNotifiesAndUnloadingOnceMore) {
  ForEachPlugin([](const PluginCase& p, PluginHost& host) {
    TestDib dib(30, 20, 1);
    ASSERT_EQ(host.Call(dib.header()), PluginHost::kUntouched);
    host.Click(IDOK);
    EXPECT_EQ(host.Notifications(), p.okNotifications);
    EXPECT_FALSE(host.DialogVisible());
    host.Unload();
    EXPECT_EQ(host.Notifications(), p.okNotifications + 1);
    EXPECT_FALSE(host.MalformedNotification());
    EXPECT_TRUE(dib.GuardIntact());
  });
}

// Cancel, the close box and unloading with the dialog open all keep every
// byte of the caller's image.
TEST(PluginContract, CancelCloseBoxAndUnloadingKeepEveryByte) {
  const struct {
    void (*finish)(PluginHost&);
    int notifications;
  } ways[] = {
      {[](PluginHost& h) { h.Click(IDCANCEL); }, 1},
      {[](PluginHost& h) { h.PressCloseBox(); }, 2},  // its platform handling presses Cancel too
      {[](PluginHost& h) { h.Unload(); }, 1},
  };
  for (const auto& way : ways) {
    ForEachPlugin([&way](const PluginCase& p, PluginHost& host) {
      TestDib dib(30, 20, 2);
      const std::vector<std::uint8_t> before = dib.bytes();
      ASSERT_EQ(host.Call(dib.header()), PluginHost::kUntouched);
      HWND dialog = host.Dialog();
      Adjust(host, p);
      way.finish(host);
      EXPECT_EQ(host.Notifications(), way.notifications);
      EXPECT_FALSE(::IsWindowVisible(dialog));
      EXPECT_EQ(dib.bytes(), before);
      EXPECT_FALSE(host.MalformedNotification());
    });
  }
}

TEST(PluginContract, ASecondCallClosesTheFirstDialog) {
  PluginHost host(L"tonefx.dll");
  TestDib first(10, 10, 5), second(12, 8, 6);
  ASSERT_EQ(host.Call(first.header()), PluginHost::kUntouched);
  HWND firstDialog = host.Dialog();
  ASSERT_EQ(host.Call(second.header()), PluginHost::kUntouched);
  EXPECT_FALSE(::IsWindow(firstDialog));
  EXPECT_EQ(host.Notifications(), 1);
  host.ReleaseSlider(0);  // flat at the level
  host.Click(IDOK);
  EXPECT_EQ(host.Notifications(), 3);
  EXPECT_EQ(second.at(3, 3), second.at(7, 1));
}

// Left, top, width and height in the dialog's client pixels.
std::array<LONG, 4> PlaceOf(HWND dialog, int id) {
  RECT r{};
  ::GetWindowRect(::GetDlgItem(dialog, id), &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

TEST(PluginDialog, PixelLayoutCaptionAndChannelBox) {
  ForEachPlugin([](const PluginCase& p, PluginHost& host) {
    TestDib dib(360, 135);
    ASSERT_EQ(host.Call(dib.header()), PluginHost::kUntouched);
    HWND d = host.Dialog();
    RECT window{};
    ::GetWindowRect(d, &window);
    EXPECT_EQ(window.left, 0);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(window.right, p.dialogSize.cx);
    EXPECT_EQ(window.bottom, p.dialogSize.cy);
    wchar_t caption[64] = {}, name[64] = {};
    ::GetWindowTextW(d, caption, 64);
    ::LoadStringW(host.Module(), IDS_EFFECT_NAME, name, 64);
    EXPECT_STREQ(caption, name);

    using Place = std::array<LONG, 4>;
    EXPECT_EQ(PlaceOf(d, IDC_PREVIEW), (Place{7, 41, 180, 67}));
    const int buttonsTop = p.hasSlider ? 105 : 87;
    EXPECT_EQ(PlaceOf(d, IDOK), (Place{194, buttonsTop, 70, 24}));
    EXPECT_EQ(PlaceOf(d, IDCANCEL), (Place{194, buttonsTop + 31, 70, 24}));
    EXPECT_EQ(::GetDlgItem(d, IDC_SLIDER) != nullptr, p.hasSlider);
    EXPECT_EQ(::GetDlgItem(d, IDC_PROCESS) == nullptr, p.hasSlider);
    if (p.hasSlider) {
      EXPECT_EQ(PlaceOf(d, IDC_SLIDER), (Place{13, 149, 170, 16}));
      EXPECT_EQ(PlaceOf(d, IDC_MINUS), (Place{5, 145, 7, 10}));
      EXPECT_EQ(PlaceOf(d, IDC_PLUS), (Place{184, 145, 7, 10}));
    } else {
      EXPECT_EQ(PlaceOf(d, IDC_PROCESS), (Place{194, 56, 70, 24}));
    }
    HWND box = ::GetDlgItem(d, IDC_CHANNEL);
    ASSERT_EQ(box != nullptr, p.hasChannelBox);
    if (!box) return;
    const Place channel = PlaceOf(d, IDC_CHANNEL);  // closed, its height follows the font
    EXPECT_EQ((std::array{channel[0], channel[1], channel[2]}), (std::array<LONG, 3>{194, 7, 70}));
    ASSERT_EQ(::SendMessageW(box, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(::SendMessageW(box, CB_GETCURSEL, 0, 0), 0);
    for (int i = 0; i < 4; ++i) {
      wchar_t item[32] = {}, expected[32] = {};
      ::SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
      ::LoadStringW(host.Module(), IDS_CHANNEL_RGB + i, expected, 32);
      EXPECT_STREQ(item, expected);
    }
  });
}

TEST(PluginDialog, SquarePreviewAndSliderSetUps) {
  TestDib grey(100, 100);
  for (int i = 0; i < 100 * 100; ++i) grey.set(i % 100, i / 100, {100, 50, 150});  // level 100
  const struct {
    const wchar_t* dll;
    std::array<LRESULT, 4> rangePagePosition;
  } cases[] = {
      {L"litefx.dll", {0, 255, 5, 100}},
      {L"tonefx.dll", {0, 90, 5, 45}},
      {L"tilefx.dll", {2, 64, 3, 2}},
      {L"warpfx.dll", {-70, 70, 10, 0}},
  };
  for (const auto& c : cases) {
    PluginHost host(c.dll);
    ASSERT_EQ(host.Call(grey.header()), PluginHost::kUntouched);
    EXPECT_EQ(PlaceOf(host.Dialog(), IDC_PREVIEW), (std::array<LONG, 4>{29, 7, 135, 135}));
    HWND s = host.Control(IDC_SLIDER);
    EXPECT_EQ(
        (std::array{::SendMessageW(s, TBM_GETRANGEMIN, 0, 0),
                    ::SendMessageW(s, TBM_GETRANGEMAX, 0, 0),
                    ::SendMessageW(s, TBM_GETPAGESIZE, 0, 0), ::SendMessageW(s, TBM_GETPOS, 0, 0)}),
        c.rangePagePosition);
  }
}

TEST(PluginExports, OnlySpecialEffects) {
  ForEachPlugin([](const PluginCase&, PluginHost& host) {
    const auto* base = reinterpret_cast<const BYTE*>(host.Module());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
    ASSERT_NE(rva, 0u);
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + rva);
    EXPECT_EQ(exports->NumberOfFunctions, 1u);
    ASSERT_EQ(exports->NumberOfNames, 1u);
    const DWORD name = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames)[0];
    EXPECT_STREQ(reinterpret_cast<const char*>(base + name), "SpecialEffects");
  });
}

}  // namespace
}  // namespace plugin_test
