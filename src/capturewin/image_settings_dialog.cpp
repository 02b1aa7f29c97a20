#include "capturewin/image_settings_dialog.h"

#include "base/strings.h"
#include "capturewin/dialog_place.h"
#include "capturewin/settings_text.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings_file.h"

namespace {

constexpr int kWidth = 270, kHeight = 170;
constexpr capturewin::ControlPlace kPlaces[] = {
    {IDC_DELAY_LABEL, 7, 9, 70, 16},  {IDC_DELAY_TIME, 105, 7, 30, 20},
    {IDC_DELAY_UNIT, 137, 9, 16, 16}, {IDC_IMAGE_FORMAT_GROUP, 7, 38, 250, 60},
    {IDC_SAVE_BMP, 14, 53, 220, 20},  {IDC_SAVE_JPEG, 14, 73, 220, 20},
    {IDOK, 150, 107, 50, 24},         {IDCANCEL, 206, 107, 50, 24},
};
// Two digits: no countdown is longer than 99 seconds.
constexpr int kDelayDigits = 2;

}  // namespace

CImageSettingsDlg::CImageSettingsDlg(HWND parent) : CDialog(IDD_IMAGE_SETTINGS, parent) {}

const base::MessageMap* CImageSettingsDlg::GetMessageMap() const {
  static constexpr base::MsgMapEntry kEntries[] = {
      base::CommandEntry<&CImageSettingsDlg::OnBmp>(IDC_SAVE_BMP),
      base::CommandEntry<&CImageSettingsDlg::OnJpeg>(IDC_SAVE_JPEG),
  };
  static const base::MessageMap kMap{CDialog::GetThisMessageMap(), kEntries};
  return &kMap;
}

BOOL CImageSettingsDlg::OnInitDialog() {
  m_strIniPath = settings::SettingsPath();
  capturewin::PlaceDialog(m_hWnd, kWidth, kHeight, kPlaces);
  capturewin::CentreDialog(m_hWnd);
  ::SendDlgItemMessageW(m_hWnd, IDC_DELAY_TIME, EM_LIMITTEXT, kDelayDigits, 0);

  // Anything but "BMP" in any case is JPEG, and is stored as "JPG".
  const bool bmp =
      core::ToUpperAscii(settings::Read(settings::kImageFormat, m_strIniPath)) == "BMP";
  m_strFormat = bmp ? "BMP" : "JPG";
  ::CheckRadioButton(m_hWnd, IDC_SAVE_BMP, IDC_SAVE_JPEG, bmp ? IDC_SAVE_BMP : IDC_SAVE_JPEG);
  capturewin::SetFieldText(m_hWnd, IDC_DELAY_TIME,
                           settings::Read(settings::kImageDelayTime, m_strIniPath));
  const std::string album = base::Narrow(settings::DefaultAlbumFolder());
  m_strFolder = settings::Read(settings::kCapturedImageFilePath.WithDefault(album), m_strIniPath);
  return TRUE;
}

void CImageSettingsDlg::OnOK() {
  const std::string delay = capturewin::FieldText(m_hWnd, IDC_DELAY_TIME);
  if (!capturewin::AcceptDelay(m_hWnd, delay)) return;
  if (!delay.empty()) settings::Write(settings::kImageDelayTime, delay, m_strIniPath);
  if (!m_strFolder.empty())
    settings::Write(settings::kCapturedImageFilePath, m_strFolder, m_strIniPath);
  settings::Write(settings::kImageFormat, m_strFormat, m_strIniPath);
  EndDialog(IDOK);
}
