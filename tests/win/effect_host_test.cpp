// The main window as the effect plug-ins' host, with the real brightness and
// contrast libraries of the program folder: an open plug-in dialog holds back
// what would replace its picture, a second effect command closes the first
// dialog, Cancel rebuilds the same picture with Undo offered, and a missing
// plug-in changes nothing but still offers Undo.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/lumora_app.h"
#include "base/app.h"
#include "editor/main_frame.h"
#include "editor/working_copy.h"
#include "imaging/dib_bitmap.h"
#include "resource.h"
#include "settings/settings_file.h"
#include "box_answerer.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

void WritePicture(const fs::path& path) {
  std::vector<char> file(54 + 12 * 8, 0);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(file.size()), 0, 0, 54};
  BITMAPINFOHEADER ih{sizeof ih, 4, 8, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::memcpy(file.data(), &fh, sizeof fh);
  std::memcpy(file.data() + 14, &ih, sizeof ih);
  for (std::size_t i = 54; i < file.size(); ++i) file[i] = static_cast<char>(40 + i % 90);
  std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
}

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
  wchar_t cls[16] = L"";
  ::GetClassNameW(hwnd, cls, 16);
  if (::IsWindowVisible(hwnd) && std::wcscmp(cls, L"#32770") == 0) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  }
  return TRUE;
}

// The visible dialogs of this thread.
std::vector<HWND> Dialogs() {
  std::vector<HWND> found;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Enabled(CMainFrame& frame, UINT id) {
  base::CommandState state{id};
  frame.RouteCommandState(state);
  return state.enabled;
}

class EffectHost : public ::testing::Test {
 protected:
  void SetUp() override {
    g_strProgramFolder = settings::ProgramFolder();
    WritePicture(folder.Path() / L"a.bmp");
    frame = new CMainFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    base::CWinApp::Get()->m_pMainWnd = frame;
    frame->EnterEditMode((folder.Path() / L"a.bmp").wstring());
    ASSERT_TRUE(boxes.Texts().empty()) << testing::PrintToString(boxes.Texts());
    original = imaging::PackedDib24Of(frame->m_hCurBitmap.Get());
  }
  void TearDown() override {
    frame->m_bModified = false;  // no save question
    ::DestroyWindow(frame->m_hWnd);
  }
  std::vector<std::uint8_t> Shown() const { return imaging::PackedDib24Of(frame->m_hCurBitmap.Get()); }

  testing_win::TempFolder folder;
  testing_win::BoxAnswerer boxes;  // a box of a failing open must not block the test
  CMainFrame* frame = nullptr;
  std::vector<std::uint8_t> original;
};

TEST_F(EffectHost, AnOpenDialogHoldsBackTurnsOpensAndUndoUntilItIsDone) {
  frame->RunEffect(Effect::kBrightness);
  ASSERT_EQ(Dialogs().size(), 1u);
  const HWND first = Dialogs().front();
  for (UINT id : {ID_IMAGE_ROTATE_CW, ID_TB_EDIT_ROTATE_CCW, ID_FILE_OPEN, ID_VIEW_NEXT_FILE,
                  ID_VIEW_FULL_SCREEN, ID_TB_EDIT_BACK, ID_EDIT_UNDO}) {
    EXPECT_FALSE(Enabled(*frame, id)) << id;
  }
  EXPECT_TRUE(Enabled(*frame, ID_IMAGE_CONTRAST));  // another effect replaces this one
  frame->RotateImage(true);                         // refused even when called directly
  EXPECT_EQ(Shown(), original);
  ::SendMessageW(frame->m_hWnd, WM_CLOSE, 0, 0);  // the editor stays
  EXPECT_EQ(frame->Mode(), FrameMode::kEditing);

  // The second command releases the first plug-in: its dialog goes.
  frame->RunEffect(Effect::kContrast);
  EXPECT_FALSE(::IsWindow(first));
  ASSERT_EQ(Dialogs().size(), 1u);
  ::SendMessageW(Dialogs().front(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_EQ(Shown(), original);  // Cancel: the same picture, made again
  EXPECT_TRUE(Enabled(*frame, ID_EDIT_UNDO));
  EXPECT_TRUE(Enabled(*frame, ID_IMAGE_ROTATE_CW));
  const auto working = imaging::PackedDib24Of(imaging::LoadBitmapFile(editor::WorkingCopyPath()).Get());
  EXPECT_EQ(working, original);
}

TEST_F(EffectHost, AMissingPlugInChangesNothingButOffersUndo) {
  g_strProgramFolder = folder.Path().wstring() + L"\\";  // no plug-ins there
  frame->RunEffect(Effect::kMosaic);
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_EQ(Shown(), original);
  EXPECT_TRUE(Enabled(*frame, ID_EDIT_UNDO));
  frame->UndoEdit();
  EXPECT_EQ(Shown(), original);
  EXPECT_FALSE(Enabled(*frame, ID_EDIT_UNDO));
}

}  // namespace
