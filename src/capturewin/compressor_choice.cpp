#include "capturewin/compressor_choice.h"

#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "base/strings.h"
#include "base/wnd.h"
#include "capture/dev_graph_builder.h"
#include "core/compress_text.h"
#include "imaging/dib_bitmap.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace capturewin {
namespace {

// The stored record is the platform's 32-bit compressor-choice record.
static_assert(sizeof(COMPVARS) == 64, "the stored record has the 32-bit layout");

// Quality in the record runs from 0 to 10,000; the settings keep percent.
constexpr LONG kQualityPerPercent = 100;
// Room of the description in the system code page.
constexpr int kDescriptionBytes = 260;

std::wstring DialogTitle() { return base::LoadResString(IDS_COMPRESSION_SETTINGS); }

// A press and release of one key, to whatever has the keyboard focus.
void PressKey(WORD key) {
  INPUT input[2] = {};
  for (INPUT& i : input) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = key;
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, input, sizeof(INPUT));
}

struct DialogParts {
  HWND list = nullptr;       // the last combo box
  HWND scrollBar = nullptr;  // the last visible scroll bar
};

BOOL CALLBACK FindParts(HWND child, LPARAM param) {
  auto* parts = reinterpret_cast<DialogParts*>(param);
  wchar_t name[32] = L"";
  ::GetClassNameW(child, name, 32);
  if (std::wstring_view(name) == L"ComboBox") parts->list = child;
  if (std::wstring_view(name) == L"ScrollBar" && ::IsWindowVisible(child)) parts->scrollBar = child;
  return TRUE;
}

// The stored quality on the bar; the two arrow keys make the dialog take
// it over as if the user had moved the bar.
void PresetQuality(HWND scrollBar, unsigned long quality) {
  ::PostMessageW(scrollBar, SBM_SETPOS, quality, TRUE);
  if (quality != 0) {
    PressKey(VK_RIGHT);
    PressKey(VK_LEFT);
  } else {
    PressKey(VK_LEFT);
    PressKey(VK_RIGHT);
  }
}

}  // namespace

// Drops the list's empty and indented entries, then walks the selection
// down from the first entry to the stored compressor (staying on the first
// when none is stored) and leaves the list with Tab (towards the quality bar).
void CompressorChoice::PresetList(HWND list, const std::string& compressor) {
  for (LRESULT i = ::SendMessageW(list, CB_GETCOUNT, 0, 0) - 1; i >= 0; --i) {
    const std::wstring text = base::ComboItemText(list, i);
    if (text.empty() || text[0] == L' ')
      ::SendMessageW(list, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
  }
  m_strFirstItem = base::ComboItemText(list, 0);
  PressKey(VK_DOWN);
  PressKey(VK_UP);
  const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
  // Nothing stored means no compression, which the first entry stands for.
  for (LRESULT i = 0; i < count && !compressor.empty(); ++i) {
    if (base::Narrow(base::ComboItemText(list, i)) == compressor) break;
    PressKey(VK_DOWN);
  }
  PressKey(VK_TAB);
}

void CompressorChoice::Store(const COMPVARS& choice) const {
  ICINFO info{};
  info.dwSize = sizeof info;
  const wchar_t* name = m_strFirstItem.c_str();
  if (choice.hic && ::ICGetInfo(choice.hic, &info, sizeof info)) name = info.szDescription;
  char description[kDescriptionBytes] = "";
  ::WideCharToMultiByte(CP_ACP, 0, name, -1, description, kDescriptionBytes, nullptr, nullptr);
  description[kDescriptionBytes - 1] = '\0';
  settings::Write(settings::kCompressor, description, m_strIniPath);
  settings::Write(settings::kLQ, std::to_string(choice.lQ / kQualityPerPercent), m_strIniPath);
  const auto* record = reinterpret_cast<const std::uint8_t*>(&choice);
  std::span<const std::uint8_t> state;
  if (choice.lpState && choice.cbState > 0) {
    state = {static_cast<const std::uint8_t*>(choice.lpState), static_cast<size_t>(choice.cbState)};
  }
  settings::Write(settings::kCompress, core::FormatCompressText({record, sizeof choice}, state),
                  m_strIniPath);
}

bool CompressorChoice::Choose(HWND owner, DevGraphBuilder& graph) {
  int width = 0, height = 0;
  unsigned long imageBytes = 0;
  DWORD compression = 0;
  if (!graph.GetCurrentFormat(&width, &height, &imageBytes, &compression)) return false;

  BITMAPINFOHEADER input = imaging::Dib24Header(width, height);
  input.biCompression = compression;
  input.biSizeImage = imageBytes;
  input.biXPelsPerMeter = input.biYPelsPerMeter = 100;
  COMPVARS choice{};
  choice.cbSize = sizeof choice;

  ::SetTimer(owner, kPresetListTimer, kPresetListMs, nullptr);
  // The platform takes the title as 8-bit text, and not as const.
  std::string title = base::Narrow(DialogTitle());
  const BOOL chosen = ::ICCompressorChoose(owner, 0, &input, nullptr, &choice, title.data());
  if (chosen) Store(choice);
  ::ICCompressorFree(&choice);
  return chosen != FALSE;
}

void CompressorChoice::OnTimer(HWND owner, UINT_PTR timerId) {
  if (timerId != kPresetListTimer && timerId != kPresetQualityTimer) return;
  HWND dialog = ::FindWindowW(nullptr, DialogTitle().c_str());
  if (!dialog) return;  // not open yet: the timer goes on
  ::KillTimer(owner, timerId);
  const unsigned long quality =
      std::strtoul(settings::Read(settings::kLQ, m_strIniPath).c_str(), nullptr, 10);
  const std::string compressor = settings::Read(settings::kCompressor, m_strIniPath);
  DialogParts parts;
  ::EnumChildWindows(dialog, FindParts, reinterpret_cast<LPARAM>(&parts));
  if (timerId == kPresetListTimer && parts.list) {
    PresetList(parts.list, compressor);
    ::SetTimer(owner, kPresetQualityTimer, kPresetQualityMs, nullptr);
  } else if (timerId == kPresetQualityTimer && parts.scrollBar &&
             ::IsWindowEnabled(parts.scrollBar)) {
    PresetQuality(parts.scrollBar, quality);
  }
}

}  // namespace capturewin
