// The print job on the test printer, printing into files: a page is
// written; a page that cannot be written aborts the document, is reported
// and leaves the main window enabled; a quit message during the job aborts
// the document and stays for the message loop.
#include "editor/picture_print_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/app.h"
#include "base/handles.h"
#include "box_answerer.h"
#include "temp_folder.h"
#include "test_printer.h"

namespace {

namespace fs = std::filesystem;

class PrintJob : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing_win::InstallTestPrinter(L"FILE:"));
    printer.Reset(::CreateDCW(nullptr, testing_win::kTestPrinter, nullptr, nullptr));
    ASSERT_TRUE(printer);
    const base::WindowDc screen(nullptr);
    picture.Reset(::CreateCompatibleBitmap(screen.Get(), 64, 48));
    ASSERT_TRUE(picture);
  }

  testing_win::TempFolder folder;
  base::MemoryDc printer;  // a created DC goes with DeleteDC as well
  base::Bitmap picture;
};

TEST_F(PrintJob, APageIsWrittenIntoTheChosenFile) {
  testing_win::BoxAnswerer answerer;
  const fs::path output = folder.Path() / L"page.ps";
  CPicturePrintJob job(picture.Get());
  EXPECT_EQ(job.PrintOn(printer.Get(), output.wstring()), CPicturePrintJob::Outcome::kPrinted);
  ASSERT_TRUE(fs::exists(output));
  EXPECT_GT(fs::file_size(output), 0u);
  EXPECT_TRUE(answerer.Texts().empty());
}

// The spooler takes the document but the page cannot go to a file in a
// folder that is not there: the document is aborted and the user told.
TEST_F(PrintJob, APageThatCannotBeWrittenAbortsTheDocumentWithAMessage) {
  // A main window for the job to disable and enable again.
  base::CWnd main;
  main.m_hWnd = ::CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
  ASSERT_TRUE(main.m_hWnd && base::CWinApp::Get());
  base::CWinApp::Get()->m_pMainWnd = &main;
  testing_win::BoxAnswerer answerer;
  const fs::path output = folder.Path() / L"gone" / L"page.ps";
  CPicturePrintJob job(picture.Get());
  EXPECT_EQ(job.PrintOn(printer.Get(), output.wstring()), CPicturePrintJob::Outcome::kFailed);
  EXPECT_EQ(answerer.Texts(),
            std::vector<std::wstring>{L"The picture could not be printed: the printer or the output file "
                                      L"stopped taking the page. The print job was cancelled."});
  EXPECT_FALSE(fs::exists(output));
  EXPECT_TRUE(::IsWindowEnabled(main.m_hWnd));
  base::CWinApp::Get()->m_pMainWnd = nullptr;
  // The printer is free for the next job.
  EXPECT_EQ(job.PrintOn(printer.Get(), (folder.Path() / L"next.ps").wstring()),
            CPicturePrintJob::Outcome::kPrinted);
}

TEST_F(PrintJob, AQuitMessageAbortsTheDocumentAndStaysForTheMessageLoop) {
  testing_win::BoxAnswerer answerer;
  ::PostQuitMessage(7);
  const fs::path output = folder.Path() / L"page.ps";
  CPicturePrintJob job(picture.Get());
  EXPECT_EQ(job.PrintOn(printer.Get(), output.wstring()), CPicturePrintJob::Outcome::kAborted);
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_TRUE(answerer.Texts().empty());  // the program is ending: nothing to tell
  EXPECT_TRUE(!fs::exists(output) || fs::file_size(output) == 0);
}

}  // namespace
