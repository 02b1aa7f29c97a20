// The set-up program as a user meets it, in a Wine prefix made afresh for
// these tests (in_fresh_prefix): the silent set-up puts the program folder,
// the shortcuts, the video compressor and the entry in the list of installed
// programs in place; the installed Lumora finds its plug-ins, its picture
// library, its compressor and its help file; neither the set-up nor the
// removal goes ahead while Lumora runs; the silent removal takes back all
// that the set-up made and leaves the user's pictures and settings.
#include <windows.h>
// Need the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <vfw.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "album_window.h"
#include "base/com_ptr.h"
#include "base/handles.h"
#include "capture_window.h"
#include "lumora_session.h"
#include "resource.h"
#include "version_info.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr bool kShipsVideoCodec = LUMORA_SHIPS_VIDEO_CODEC;
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumora";
constexpr wchar_t kDrivers32Key[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";
constexpr wchar_t kCodecValue[] = L"vidc.mjpg";
constexpr wchar_t kCodecFile[] = L"lumjpeg.dll";
constexpr wchar_t kUninstaller[] = L"uninstall.exe";
// The exit code of a set-up or removal that its own checks ended.
constexpr int kRefused = 2;
constexpr int kEffectSlider = 1012;   // the effect dialogs' slider
constexpr int kCompressorList = 880;  // the compressor choice's combo box
constexpr int kFirstCell = 2000;      // the file list's first thumbnail cell

// The program folder's files, each as the build made it.
const wchar_t* const kProgramFiles[] = {L"Lumora.exe",       L"litefx.dll",     L"tonefx.dll",
                                        L"edgefx.dll",       L"tilefx.dll",     L"warpfx.dll",
                                        L"ZImgLoad.dll",     L"LumoraHelp.chm", L"LumoraHelpTC.chm",
                                        L"LumoraHelpSC.chm", L"camclean.exe"};

std::optional<std::wstring> RegText(const wchar_t* key, const wchar_t* value) {
  wchar_t text[MAX_PATH * 2] = L"";
  DWORD bytes = sizeof text;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_SZ, nullptr, text, &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(text);
}

bool KeyExists(const wchar_t* key) {
  base::RegKey opened;
  return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, opened.Put()) == ERROR_SUCCESS;
}

void SetCodecValue(const std::optional<std::wstring>& driver) {
  base::RegKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kDrivers32Key, 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, key.Put(), nullptr),
            ERROR_SUCCESS);
  if (driver) {
    ::RegSetValueExW(key.Get(), kCodecValue, 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(driver->c_str()),
                     static_cast<DWORD>((driver->size() + 1) * sizeof(wchar_t)));
  } else {
    ::RegDeleteValueW(key.Get(), kCodecValue);
  }
}

fs::path ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

fs::path StartMenuShortcut() { return ShellFolder(CSIDL_COMMON_PROGRAMS) / L"Lumora.lnk"; }
fs::path DesktopShortcut() { return ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) / L"Lumora.lnk"; }

// The program a shortcut starts; empty when it cannot be read.
std::wstring LinkTarget(const fs::path& link) {
  base::ComScope com;
  base::ComPtr<IShellLinkW> shellLink;
  base::ComPtr<IPersistFile> file;
  wchar_t target[MAX_PATH] = L"";
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.PutVoid())) ||
      FAILED(shellLink.As(file)) || FAILED(file->Load(link.c_str(), STGM_READ)) ||
      FAILED(shellLink->GetPath(target, MAX_PATH, nullptr, 0))) {
    return {};
  }
  return target;
}

std::vector<std::wstring> FilesIn(const fs::path& folder) {
  std::vector<std::wstring> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The description the codec service gives for the MJPG compressor; nothing
// when no driver opens for it.
std::optional<std::wstring> MjpegCompressorName() {
  HIC codec = ::ICOpen(ICTYPE_VIDEO, mmioFOURCC('M', 'J', 'P', 'G'), ICMODE_QUERY);
  if (!codec) return std::nullopt;
  ICINFO info{};
  info.dwSize = sizeof info;
  const bool got = ::ICGetInfo(codec, &info, sizeof info) != 0;
  ::ICClose(codec);
  if (!got) return std::nullopt;
  return std::wstring(info.szDescription);
}

// The entries of the compressor choice that a recording of 24-bit frames
// offers, read from its list while it is open, then cancelled.
std::vector<std::wstring> CompressorChoices() {
  BITMAPINFOHEADER frames{};
  frames.biSize = sizeof frames;
  frames.biWidth = 352;
  frames.biHeight = 288;
  frames.biPlanes = 1;
  frames.biBitCount = 24;
  frames.biCompression = BI_RGB;
  frames.biSizeImage = 352 * 288 * 3;
  COMPVARS choice{};
  choice.cbSize = sizeof choice;
  std::thread chooser([&] {
    ::ICCompressorChoose(nullptr, ICMF_CHOOSE_KEYFRAME | ICMF_CHOOSE_DATARATE, &frames, nullptr,
                         &choice, nullptr);
  });
  HWND dialog = nullptr;
  WaitFor([&] {
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(w, &pid);
      if (pid == ::GetCurrentProcessId() && ClassName(w) == L"#32770" &&
          ::GetDlgItem(w, kCompressorList)) {
        dialog = w;
        return true;
      }
    }
    return false;
  });
  std::vector<std::wstring> entries;
  if (dialog) {
    HWND list = ::GetDlgItem(dialog, kCompressorList);
    const auto count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring text(static_cast<size_t>(::SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1,
                        L'\0');
      ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      entries.emplace_back(text.c_str());
    }
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  }
  chooser.join();
  ::ICCompressorFree(&choice);
  return entries;
}

class Installer : public ::testing::Test {
 protected:
  Installer() : m_folder(ShellFolder(CSIDL_PROGRAM_FILES) / L"Lumora") {}

  // A prefix that holds no installation, as the tests leave it.
  void SetUp() override {
    ASSERT_FALSE(KeyExists(kUninstallKey));
    ASSERT_FALSE(fs::exists(m_folder));
    ASSERT_FALSE(fs::exists(StartMenuShortcut()));
    ASSERT_FALSE(fs::exists(DesktopShortcut()));
  }

  void TearDown() override {
    if (KeyExists(kUninstallKey)) Uninstall();
    SetCodecValue(std::nullopt);
  }

  static int SetUpProgram() {
    return RunProgram(L"\"" + BinFolder() + L"Lumora-Setup.exe\" /S", 120s);
  }

  // What the list of installed programs runs for a silent removal. The
  // uninstaller hands the work to a copy of itself and returns; the entry in
  // the list goes last.
  void Uninstall() {
    const auto command = RegText(kUninstallKey, L"UninstallString");
    ASSERT_TRUE(command.has_value());
    ASSERT_EQ(RunProgram(*command + L" /S", 60s), 0);
    ASSERT_TRUE(WaitFor([] { return !KeyExists(kUninstallKey); }, 60s));
    ASSERT_TRUE(WaitFor([&] { return !fs::exists(m_folder); }, 10s));
  }

  fs::path Codec() const { return ShellFolder(CSIDL_SYSTEM) / kCodecFile; }

  fs::path m_folder;
};

TEST_F(Installer, SilentSetUpPutsProgramShortcutsCompressorAndListEntryInPlace) {
  if (kShipsVideoCodec) {
    ASSERT_FALSE(MjpegCompressorName().has_value());
  }
  ASSERT_EQ(SetUpProgram(), 0);

  // The program folder holds the shipped files as the build made them, the
  // uninstaller, and nothing else.
  std::vector<std::wstring> expected(std::begin(kProgramFiles), std::end(kProgramFiles));
  expected.emplace_back(kUninstaller);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesIn(m_folder), expected);
  for (const wchar_t* name : kProgramFiles) {
    EXPECT_EQ(ReadAll(m_folder / name), ReadAll(BinFolder() + name)) << name;
  }
  EXPECT_EQ(
      installer::VersionInfo((m_folder / kUninstaller).wstring()).Text(0x0409, L"ProductVersion"),
      installer::kVersionText);

  EXPECT_EQ(LinkTarget(StartMenuShortcut()), (m_folder / L"Lumora.exe").wstring());
  EXPECT_EQ(LinkTarget(DesktopShortcut()), (m_folder / L"Lumora.exe").wstring());

  EXPECT_EQ(RegText(kUninstallKey, L"DisplayName"), L"Lumora");
  EXPECT_EQ(RegText(kUninstallKey, L"DisplayVersion"), installer::kVersionText);
  EXPECT_EQ(RegText(kUninstallKey, L"InstallLocation"), m_folder.wstring());
  EXPECT_EQ(RegText(kUninstallKey, L"UninstallString"),
            L"\"" + (m_folder / kUninstaller).wstring() + L"\"");
  EXPECT_EQ(RegText(kUninstallKey, L"QuietUninstallString"),
            L"\"" + (m_folder / kUninstaller).wstring() + L"\" /S");

  if (kShipsVideoCodec) {
    EXPECT_EQ(RegText(kDrivers32Key, kCodecValue), kCodecFile);
    EXPECT_EQ(ReadAll(Codec()), ReadAll(BinFolder() + kCodecFile));
    const auto name = MjpegCompressorName();
    ASSERT_TRUE(name.has_value());
    const auto choices = CompressorChoices();
    EXPECT_NE(std::find(choices.begin(), choices.end(), *name), choices.end())
        << "not in the choice";
  } else {
    EXPECT_FALSE(RegText(kDrivers32Key, kCodecValue).has_value());
  }
}

// Lumora's own files are in use while it runs: a set-up over it or a removal
// says so and leaves the installation as it is.
TEST_F(Installer, SetUpAndRemovalLeaveARunningLumoraAlone) {
  ASSERT_EQ(SetUpProgram(), 0);
  LumoraSession lumora;
  lumora.SetProgramFolder(m_folder);
  lumora.Start();
  ASSERT_NE(lumora.WaitForMainWindow(), nullptr);

  EXPECT_EQ(SetUpProgram(), kRefused);
  // Started in place (the folder after "_?=") the uninstaller runs in this
  // process and its exit code is the removal's.
  EXPECT_EQ(
      RunProgram(L"\"" + (m_folder / kUninstaller).wstring() + L"\" /S _?=" + m_folder.wstring()),
      kRefused);
  EXPECT_TRUE(KeyExists(kUninstallKey));
  EXPECT_TRUE(fs::exists(StartMenuShortcut()));
  for (const wchar_t* name : kProgramFiles) EXPECT_TRUE(fs::exists(m_folder / name)) << name;
  if (kShipsVideoCodec) {
    EXPECT_EQ(RegText(kDrivers32Key, kCodecValue), kCodecFile);
  }
  ASSERT_TRUE(lumora.Close());
}

// The installed program takes a JPEG still through its picture library,
// opens its help file and an effect plug-in; the removal then takes back
// everything the set-up made, gives the FOURCC back to the compressor that
// had it, and leaves the picture and the settings.
TEST_F(Installer, InstalledLumoraFindsItsPartsAndRemovalLeavesThePicture) {
  if (kShipsVideoCodec) SetCodecValue(L"earlier.dll");
  ASSERT_EQ(SetUpProgram(), 0);
  ASSERT_EQ(RunTool(L"simcamctl.exe install"), 0);
  fs::path picture, settings;
  {
    LumoraSession lumora;
    lumora.SetProgramFolder(m_folder);
    lumora.WriteSettings("[Setting]\r\nImageFormat=JPG\r\n[ALBUM]\r\nShowImageMode=1\r\n");
    const AlbumWindows windows = StartWithAlbumWindow(lumora);
    ASSERT_TRUE(windows.main && windows.list);
    HWND frame = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (frame = lumora.FindChild(windows.main, L"Video - 352x288")) != nullptr; }));
    HWND view = CaptureView(frame);
    ASSERT_NE(view, nullptr);

    Press(view, IDC_IMAGE_BUTTON);
    picture = lumora.Documents() / L"Lumora" / L"Default album" / L"P0000001.JPG";
    settings = lumora.SettingsFile();
    ASSERT_TRUE(WaitFor([&] { return fs::exists(picture); }));
    const auto jpeg = ReadAll(picture);
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);

    const std::set<DWORD> viewers = ProcessIds(L"hh.exe");
    ::PostMessageW(windows.main, WM_COMMAND, ID_HELP_HELP, 0);
    std::optional<DWORD> viewer;
    EXPECT_TRUE(WaitFor([&] { return (viewer = NewProcess(L"hh.exe", viewers)).has_value(); }));
    EXPECT_FALSE(lumora.WaitForDialog(500ms).has_value()) << "the help file was not found";
    if (viewer) EndProcess(*viewer);

    HWND cell = nullptr;
    ASSERT_TRUE(WaitFor([&] {
      return (cell = ::GetDlgItem(windows.list, kFirstCell)) && ::IsWindowVisible(cell);
    }));
    DoubleClickCell(cell);
    ASSERT_TRUE(WaitFor(
        [&] { return WindowText(windows.main) == L"Lumora - Image Editing (P0000001.JPG)"; }));
    ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EDIT_BRIGHTNESS, 0);
    HWND effect = WaitForDialogWith(lumora, kEffectSlider);
    ASSERT_NE(effect, nullptr) << "the brightness plug-in did not open";
    // Cancel hides the dialog; the plug-in keeps it until it is unloaded.
    ::PostMessageW(effect, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(effect); }));
    // The editor takes any end of the plug-in's dialog as a change: No keeps the file.
    ::PostMessageW(windows.main, WM_COMMAND, ID_TB_EDIT_BACK, 0);
    const auto question =
        lumora.WaitForMessage(L"The modified image hasn't be saved, save it now?");
    ASSERT_TRUE(question.has_value());
    LumoraSession::Answer(*question, IDNO);
    ASSERT_TRUE(WaitFor([&] { return WindowText(windows.main) == L"Lumora"; }));
    ASSERT_TRUE(lumora.Close());

    Uninstall();
    EXPECT_FALSE(fs::exists(m_folder));
    EXPECT_FALSE(fs::exists(StartMenuShortcut()));
    EXPECT_FALSE(fs::exists(DesktopShortcut()));
    if (kShipsVideoCodec) {
      EXPECT_EQ(RegText(kDrivers32Key, kCodecValue), L"earlier.dll");
      EXPECT_FALSE(fs::exists(Codec()));
    }
    EXPECT_TRUE(fs::exists(picture));
    EXPECT_EQ(ReadAll(picture), jpeg);
    EXPECT_TRUE(fs::exists(settings));
  }
  RunTool(L"simcamctl.exe uninstall");
}

}  // namespace
}  // namespace e2e
