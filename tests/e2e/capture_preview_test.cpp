// The capture window's live picture as a user meets it: with the simulated
// camera, without it, and when the camera is pulled out while it runs.
#include <gtest/gtest.h>

#include "lumora_session.h"

namespace e2e {
namespace {

constexpr int kPreviewArea = 1173;

// The capture view's preview area inside the capture window.
HWND PreviewArea(HWND captureFrame) {
  for (HWND child = ::GetWindow(captureFrame, GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (HWND preview = ::GetDlgItem(child, kPreviewArea)) return preview;
  }
  return nullptr;
}

// What the screen shows at a point of a window of the program.
COLORREF PixelOf(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(hwnd, &p);
  HDC dc = ::GetDC(nullptr);
  const COLORREF colour = ::GetPixel(dc, p.x, p.y);
  ::ReleaseDC(nullptr, dc);
  return colour;
}

class CapturePreview : public ::testing::Test {
 protected:
  void TearDown() override { RunTool(L"simcamctl.exe uninstall"); }
};

TEST_F(CapturePreview, CameraPictureRunsAt352x288) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  LumoraSession lumora;
  lumora.Start();
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  HWND video = nullptr;
  EXPECT_TRUE(
      WaitFor([&] { return (video = lumora.FindChild(main, L"Video - 352x288")) != nullptr; }));
  ASSERT_NE(video, nullptr);
  EXPECT_EQ(lumora.Setting("Setting", "WindowSize"), "352x288");
  EXPECT_EQ(lumora.Setting("Setting", "DeviceResolution"), "352x288");

  // The renderer's window fills the preview area and the picture moves.
  HWND preview = PreviewArea(video);
  ASSERT_NE(preview, nullptr);
  HWND renderer = ::GetWindow(preview, GW_CHILD);
  ASSERT_NE(renderer, nullptr);
  const RECT r = RectInParent(renderer);
  EXPECT_EQ(r.right - r.left, 352);
  EXPECT_EQ(r.bottom - r.top, 288);
  const COLORREF first = PixelOf(renderer, 200, 150);
  EXPECT_TRUE(WaitFor([&] { return PixelOf(renderer, 200, 150) != first; }, 3s));

  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(lumora.ExitCode(), 0u);
}

TEST_F(CapturePreview, WithoutACameraTheAreaIsBlackAndTheTitlePlain) {
  RunTool(L"simcamctl.exe uninstall");
  LumoraSession lumora;
  lumora.Start();
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  HWND video = lumora.FindChild(main, L"Video");
  ASSERT_NE(video, nullptr);
  HWND preview = PreviewArea(video);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(::GetWindow(preview, GW_CHILD), nullptr);
  ::RedrawWindow(preview, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_TRUE(WaitFor([&] { return PixelOf(preview, 100, 100) == RGB(0, 0, 0); }, 3s));
  EXPECT_FALSE(lumora.WaitForDialog(500ms).has_value());
  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(lumora.ExitCode(), 0u);
}

TEST_F(CapturePreview, PullingTheCameraOutWhileRunningIsSurvived) {
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  LumoraSession lumora;
  lumora.Start();
  HWND main = lumora.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  HWND video = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (video = lumora.FindChild(main, L"Video - 352x288")) != nullptr; }));
  HWND preview = PreviewArea(video);
  ASSERT_NE(preview, nullptr);

  ASSERT_EQ(RunTool(L"simcamctl.exe unplug"), 0);
  // The graph lets the camera go: the renderer's window leaves the area.
  EXPECT_TRUE(WaitFor([&] { return ::GetWindow(preview, GW_CHILD) == nullptr; }, 5s));
  ASSERT_TRUE(lumora.Close());
  EXPECT_EQ(lumora.ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
