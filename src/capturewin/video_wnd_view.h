#pragma once
// The capture window's form view (template 130): the camera's live picture
// in the preview area laid out for the chosen window size, the Image button
// that writes stills (after an optional countdown), the product folders and
// the first-run mark on its first update, and the frame buffers the grabber
// fills. It notices the camera going and coming back and turns presses of
// the camera's snapshot button into stills.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/frame.h"
#include "base/handles.h"
#include "recorder/avi_recorder.h"
#include "recorder/sound_capture.h"

class DevGraphBuilder;

// Device notice the view posts to itself: wParam 1 plugged out, 0 plugged in.
inline constexpr UINT WM_DEVICE_NOTICE = WM_USER + 201;
// The clip is too long: the view stops recording with a notice.
inline constexpr UINT WM_CLIP_TOO_LONG = WM_USER + 202;

class CVideoWndView : public base::CFormView {
 public:
  // The view's timer: identifier 1, every 33 ms.
  static constexpr UINT_PTR kTimerId = 1;
  static constexpr UINT kTimerMs = 33;

  CVideoWndView();
  ~CVideoWndView() override;

  void OnInitialUpdate() override;
  void OnActivateView(bool active) override;
  bool PreTranslateMessage(MSG* msg) override;
  // Sets the camera's frame size and rate, makes the frame buffers anew
  // and starts the preview.
  bool ApplyDeviceFormat();
  // Stops the preview before the camera format changes (false when `doIt`
  // is clear); ApplyDeviceFormat starts it again.
  bool SuspendPreview(bool doIt);
  // Writes a frame buffer as the next still of the image folder; its path,
  // or the empty text when nothing could be named.
  std::wstring SaveBmpFile(const std::vector<unsigned char>& buffer);
  std::wstring SaveJpegFile(const std::vector<unsigned char>& buffer);
  // Ends the recording (from tick 4 on; an earlier call asks the timer to
  // end it then), closes the clip and hands it to the file list.
  void StopRecording();
  // Recording on: the Record button and the status text instead of the
  // other buttons; off: the other way round.
  void UpdateRecordingUI(bool on);
  bool OpenSoundCapture();
  void CloseSoundCapture();
  // The capture window at (0, 0) with the outer size of a window size
  // ("352x288"), the view laid out for it and the preview area moved onto
  // its rectangle; any other text changes nothing.
  void ApplyWindowLayout(std::string_view windowSize);
  DevGraphBuilder* Graph() const { return m_pDevGraph.get(); }

  std::wstring m_strProgramPath;
  std::wstring m_strIniPath;
  RECT m_rcPreview{0, 0, 352, 288};
  // Frame buffers: a 40-byte bitmap header followed by the pixels.
  std::vector<unsigned char> m_buffer1;  // latest frame
  std::vector<unsigned char> m_buffer2;  // snapshot frame
  int m_nFrameRate = 30;
  unsigned long m_dwFrameBytes = 304128;
  unsigned long m_dwBufferBytes = 0;
  DWORD m_dwCompression = 0;
  bool m_bFormatInitialized = false;
  bool m_bSkipReread = false;  // set by the settings dialog after it applied a format
  bool m_bPluggedOutReported = false;
  bool m_bPluggedInReported = false;
  bool m_bDeviceWait = false;  // a capture device went: wait before looking again
  int m_nWaitCount = 0;
  bool m_bSnapshotPoll = false;  // the camera's snapshot button makes stills
  // Room for an enlarged snapshot: a 1280x960 picture and its header.
  std::vector<unsigned char> m_stillBuffer;
  std::unique_ptr<DevGraphBuilder> m_pDevGraph;

  // Recording.
  bool m_bRecording = false;
  bool m_bShowStatus = false;
  int m_nTickCount = 0;  // timer ticks since the recording began
  bool m_bStopRequested = false;
  bool m_bClosePending = false;  // the recorder was busy when asked to close
  int m_nFileIndex = 0;          // "Index"
  bool m_bTimeLimit = false;
  std::string m_strTimeLimit;  // "CaptureDuringTime"
  long long m_tStartTime = 0;  // whole seconds
  std::wstring m_strVideoFolder;
  std::wstring m_strClipPath;
  WAVEFORMATEX m_soundFormat{};
  recorder::AviRecorder m_aviRecorder;
  recorder::SoundCapture m_soundCapture;  // declared after the recorder it writes to

 protected:
  const base::MessageMap* GetMessageMap() const override;

 private:
  void SetupCapture();
  // The layout for the stored "WindowSize".
  void LayOut();
  void LayOutFor(std::string_view windowSize);
  void MovePreviewArea();
  void LoadButtonFaces();
  void CreateRecordAnimation();
  void CreateToolTips();
  void StartTimer();
  void AllocateFrameBuffers(int width, int height);
  void ConvertI420Frame(std::vector<unsigned char>& buffer);
  void DeviceGone(bool forgetFrameSize);
  void LookForCamera();
  void SnapshotPoll();
  void SaveSnapshot();
  const std::vector<unsigned char>& EnlargeSnapshot(int code);
  void UpdateTitle();
  void OnImageButton();
  void OnVideoButton();
  void OnRecordButton();
  void OnSettingsButton();
  bool StartRecording();
  void RecordingTick();
  void RetryPendingClose();
  void WriteFrame();
  void CheckDiskSpace();
  void ShowRecordAnimation();
  LRESULT OnRecordingError(WPARAM, LPARAM);
  LRESULT OnClipTooLong(WPARAM, LPARAM);
  LRESULT OnDeviceChange(WPARAM, LPARAM);
  LRESULT OnDeviceNotice(WPARAM, LPARAM);
  LRESULT OnTimer(WPARAM, LPARAM);
  LRESULT OnCtlColorStatic(WPARAM, LPARAM);
  LRESULT OnGraphNotify(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);

  base::Bitmap m_bmpImageFace, m_bmpVideoFace, m_bmpSettings;
  HWND m_hToolTip = nullptr;  // destroyed with the view
  bool m_bTimerRunning = false;
};

// The one capture view while it exists.
extern CVideoWndView* g_pVideoView;
// A linked camera was found and its format read.
extern bool g_bDevicePresent;
// The camera's current frame size (0 while unknown).
extern int g_nVideoWidth;
extern int g_nVideoHeight;
// The preview area while the view exists.
extern HWND g_hPreviewWnd;
