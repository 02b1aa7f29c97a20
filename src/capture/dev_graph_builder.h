#pragma once
// The capture graph: the one object that owns the camera inside the
// program. It finds the capture devices, builds the live preview with the
// frame grabber between the camera and the renderer, parents the video
// window to the capture view's preview area, switches the camera format,
// drains graph events and offers the camera's and the compressor's dialogs.
#include <dshow.h>
#include <windows.h>
// windowsx.h (through dshow.h) would turn the framework's member of this
// name into a macro call.
#undef SubclassWindow

#include <string>

#include "base/com_ptr.h"
#include "base/wnd.h"
#include "capture/frame_grabber.h"

// Graph events reach the owner window with this message.
inline constexpr UINT WM_DEV_GRAPHNOTIFY = WM_USER + 14;

class DevGraphBuilder {
 public:
  DevGraphBuilder(base::CWnd* owner, HWND playWindow);
  ~DevGraphBuilder();
  DevGraphBuilder(const DevGraphBuilder&) = delete;
  DevGraphBuilder& operator=(const DevGraphBuilder&) = delete;

  void InitIMoniker();
  HRESULT InitCaptureFilters();
  void SetCaptureParams(bool enableAudio, const char* videoName, const char* audioName);
  HRESULT BuildPreviewGraph();
  HRESULT StartPreview();
  HRESULT StopPreview();
  bool SetFormat(int width, int height, unsigned long imageBytes, int fps);
  bool GetCurrentFormat(int* width, int* height, unsigned long* imageBytes, DWORD* compression);
  bool SetVideoWindowSize(int width, int height);
  void SetGrabBuffers(unsigned char* latestTarget, unsigned char* snapshotTarget,
                      unsigned long frameBytes);
  void EnableSnapshot(bool on);
  bool CopyLatestFrame();
  bool GetSnapshot();
  void OnGraphEvent(WPARAM, LPARAM);
  void ShowDevicePropertyPages(HWND owner);
  bool SetCompressorByName(const char* name);
  bool SetCompressionQuality(int percent);
  bool GetCompressorCaps(int* canQuality, int* quality, int* hasConfigDialog, int* hasAboutDialog);
  void ShowCompressorDialog(int kind, HWND owner);
  int QueryStillImageSize();
  void TearDownGraph();
  void FreeCaptureFilters();

  // Named-filter record: the friendly name and its wide form for AddFilter.
  struct NamedFilter {
    std::string name;
    wchar_t wide[120] = L"";
    void Set(const std::wstring& friendly);
  };

  base::CWnd* m_pDShowCapDlg;
  HWND m_hPlayWindow;
  base::ComPtr<IMoniker> m_pmVideo, m_pmAudio;
  NamedFilter m_videoDevice, m_videoCompressor, m_audioDevice;
  BOOL m_bAudioInGraph = FALSE;
  AM_MEDIA_TYPE* m_pCurrentFormat = nullptr;
  base::ComPtr<IBaseFilter> m_pVideoDevFilter;
  base::ComPtr<IBaseFilter> m_pAudioDevFilter;
  base::ComPtr<ICaptureGraphBuilder2> m_pCaptureGraphBuilder;
  base::ComPtr<IGraphBuilder> m_pGraphBuilder;
  base::ComPtr<IMediaEventEx> m_pMediaEventEx;
  base::ComPtr<IVideoWindow> m_pVideoWindow;
  base::ComPtr<IBasicVideo> m_pBasicVideo;
  base::ComPtr<IAMStreamConfig> m_pVideoStreamConfig;
  base::ComPtr<IBaseFilter> m_pVideoCompressor;
  int m_nFrameRate = 20;
  base::ComPtr<FrameGrabberFilter> m_pFrameGrabber;
  BOOL m_bPreviewGraphBuild = FALSE;
  BOOL m_bPreviewing = FALSE;
  HDEVNOTIFY m_hDevNotify = nullptr;
  using UnregisterFn = BOOL(WINAPI*)(HDEVNOTIFY);
  using RegisterFn = HDEVNOTIFY(WINAPI*)(HANDLE, LPVOID, DWORD);
  UnregisterFn UnregisterDeviceNotification = nullptr;
  RegisterFn RegisterDeviceNotificationA = nullptr;

 private:
  // The capture view's buffers, handed to every grabber this object makes,
  // also to one made when a stream error rebuilds the preview.
  unsigned char* m_pGrabLatest = nullptr;
  unsigned char* m_pGrabSnapshot = nullptr;
  unsigned long m_dwGrabBytes = 0;

  void FreeCurrentFormat();
  bool ReadCurrentFormat();
  void RequestRgb24();
  void InsertGrabber();
  void RestoreConnection(IPin* cameraOut, IPin* peer, const AM_MEDIA_TYPE& type);
  void ReconnectOutputs(IBaseFilter* filter);
  HRESULT PlaceVideoWindow();
  HRESULT ShowWindowFailure(HRESULT hr, const char* what);
  bool IsOurVideoFilter(LONG_PTR unknown) const;
  void RestartPreview();
};

// The capture graph while the capture view exists (for the settings dialogs).
extern DevGraphBuilder* g_pDevGraphBuilder;
