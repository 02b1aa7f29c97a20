#pragma once
// The modeless dialog that every effect plug-in shows: it holds the caller's
// record and the image copies, lays out the controls and the preview, and
// finishes with OK, Cancel, the close box or the library's unloading, each
// time telling the caller's window. The effects fill in the hooks.
#include <windows.h>

#include <cstdint>

#include "base/dialog.h"
#include "common/dialog_layout.h"
#include "common/effect_image.h"
#include "common/effect_params.h"
#include "common/preview_wnd.h"
#include "common/slider_wnd.h"
#include "core/effects/channel.h"
#include "core/effects/image_layout.h"

namespace plugins {

struct EffectTraits {
  UINT dialogId;
  const DialogLayout* layout;
  bool acceptsAnyCommand;  // otherwise exactly kEffectCommand
  bool keepsBase;          // compute from a base copy rather than the caller's image
  int notificationsOnOk;
};

class CEffectDialog : public base::CDialog {
 public:
  explicit CEffectDialog(const EffectTraits& traits);
  // The library is being unloaded: the window goes, with a last notification.
  ~CEffectDialog() override;

  bool AcceptsCommand(std::uint32_t command) const;
  // Keeps the record's values, copies the image and shows the dialog.
  // 0, or the status code of the failure.
  std::uint32_t Open(const EffectParams& params, const core::effects::PackedLayout& layout);

  static const base::MessageMap* GetThisMessageMap();

 protected:
  const base::MessageMap* GetMessageMap() const override;

  // The effect's own steps; each runs only while the image copies are held.
  virtual void OnOpen() {}
  // The mouse let go of the slider, after a drag or a click on the track.
  virtual void OnSliderReleased(int /*position*/) {}
  // After the working image was copied over the base.
  virtual void OnChannelChanged() {}
  virtual void OnProcess() {}

  EffectImage& Image() { return m_image; }
  core::effects::Channel SelectedChannel() const;
  void SetUpSlider(int min, int max, int page, int position);
  // Rebuilds and repaints the preview from the working image.
  void ShowResult();
  static HINSTANCE Module();

 private:
  BOOL OnInitDialog() override;
  bool OnCommand(WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG* msg) override;
  void OnOK() override;
  void OnCancel() override;
  LRESULT OnClose(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  void OnSliderMouseReleased();
  void FillChannelBox();
  void Notify(int times) const;

  const EffectTraits& m_traits;
  HWND m_hNotifyWindow = nullptr;
  EffectImage m_image;
  CPreviewWnd m_preview;
  CSliderWnd m_slider{[this] { OnSliderMouseReleased(); }};
};

}  // namespace plugins
