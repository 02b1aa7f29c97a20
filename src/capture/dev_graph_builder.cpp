#include "capture/dev_graph_builder.h"

#include <dbt.h>
#include <olectl.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "base/message_box.h"
#include "base/strings.h"
#include "base/trace.h"
#include "dshow/graph_util.h"
#include "dshow/media_type.h"

DevGraphBuilder* g_pDevGraphBuilder = nullptr;

// The kernel-streaming object of a driver-backed filter (IKsObject), which
// gives the driver's device handle.
struct IKsObjectHandle : public IUnknown {
  virtual HANDLE STDMETHODCALLTYPE KsGetObjectHandle() = 0;
};
__CRT_UUID_DECL(IKsObjectHandle, 0x423c13a2, 0x2070, 0x11d0, 0x9e, 0xf7, 0x00, 0xaa, 0x00, 0xa2,
                0x16, 0xa1)

namespace {

using base::ComPtr;
using base::Trace;
using dshow::FirstPin;
using dshow::FriendlyName;

const GUID kCaptureClass = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// The first device of `category` whose name can be read; false when the
// category has no enumerator at all.
bool FindFirstDevice(ICreateDevEnum* devEnum, REFCLSID category,
                     DevGraphBuilder::NamedFilter& record, ComPtr<IMoniker>& found) {
  ComPtr<IEnumMoniker> monikers;
  if (devEnum->CreateClassEnumerator(category, monikers.Put(), 0) != S_OK || !monikers)
    return false;
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
    const std::wstring name = FriendlyName(moniker.Get());
    if (name.empty()) continue;
    record.Set(name);
    found = moniker;
    return true;
  }
  return true;
}

ComPtr<IUnknown> Identity(IUnknown* object) {
  ComPtr<IUnknown> unknown;
  if (object) object->QueryInterface(IID_PPV_ARGS(unknown.Put()));
  return unknown;
}

// The driver's still-image size property.
const GUID kStillSizeSet = {
    0xC5DC089E, 0xA6ED, 0x4137, {0xB7, 0xC3, 0xB9, 0x11, 0x57, 0xA2, 0xF4, 0x6E}};
constexpr DWORD kStillSizeProperty = 10;
constexpr DWORD kIoctlKsProperty = 0x2F0003;

}  // namespace

void DevGraphBuilder::NamedFilter::Set(const std::wstring& friendly) {
  name = base::Narrow(friendly);
  // Longer names are cut to what the record holds.
  const size_t n = std::min(friendly.size(), std::size(wide) - 1);
  std::memcpy(wide, friendly.c_str(), n * sizeof(wchar_t));
  wide[n] = L'\0';
}

DevGraphBuilder::DevGraphBuilder(base::CWnd* owner, HWND playWindow)
    : m_pDShowCapDlg(owner), m_hPlayWindow(playWindow) {
  m_videoDevice.Set(L"NULL DEV");
  m_audioDevice.Set(L"NULL DEV");
  m_videoCompressor.Set(L"NULL Compressor");
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (!user32) return;
  UnregisterDeviceNotification = reinterpret_cast<UnregisterFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "UnregisterDeviceNotification")));
  RegisterDeviceNotificationA = reinterpret_cast<RegisterFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "RegisterDeviceNotificationA")));
  if (RegisterDeviceNotificationA && m_pDShowCapDlg && m_pDShowCapDlg->m_hWnd) {
    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureClass;
    m_hDevNotify =
        RegisterDeviceNotificationA(m_pDShowCapDlg->m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  }
}

DevGraphBuilder::~DevGraphBuilder() {
  if (m_hDevNotify && UnregisterDeviceNotification) UnregisterDeviceNotification(m_hDevNotify);
  FreeCurrentFormat();
  FreeCaptureFilters();
}

void DevGraphBuilder::FreeCurrentFormat() {
  dshow::DeleteMediaType(m_pCurrentFormat);
  m_pCurrentFormat = nullptr;
}

bool DevGraphBuilder::ReadCurrentFormat() {
  FreeCurrentFormat();
  return m_pVideoStreamConfig && SUCCEEDED(m_pVideoStreamConfig->GetFormat(&m_pCurrentFormat)) &&
         m_pCurrentFormat;
}

void DevGraphBuilder::InitIMoniker() {
  ComPtr<ICreateDevEnum> devEnum;
  if (FAILED(::CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(devEnum.Put())))) {
    Trace("DevGraphBuilder Create IID_ICreateDevEnum fail");
    return;
  }
  if (!FindFirstDevice(devEnum.Get(), CLSID_VideoInputDeviceCategory, m_videoDevice, m_pmVideo)) {
    Trace("Sorry, you have no video capture hardware");
    return;
  }
  if (!FindFirstDevice(devEnum.Get(), CLSID_AudioInputDeviceCategory, m_audioDevice, m_pmAudio)) {
    Trace("Sorry, you have no audio capture hardware");
  }
}

HRESULT DevGraphBuilder::InitCaptureFilters() {
  FreeCaptureFilters();
  InitIMoniker();
  if (!m_pmVideo) {
    Trace("Cannot find video input device(m_pmVideo==NULL)");
    return E_FAIL;
  }
  HRESULT hr = m_pmVideo->BindToObject(nullptr, nullptr, IID_PPV_ARGS(m_pVideoDevFilter.Put()));
  if (FAILED(hr)) {
    Trace("Cannot create video capture filter");
    return hr;
  }
  if (!m_pmAudio) {
    Trace("Cannot find audio input device(m_pmAudio==NULL)");
  } else if (FAILED(m_pmAudio->BindToObject(nullptr, nullptr,
                                            IID_PPV_ARGS(m_pAudioDevFilter.Put())))) {
    Trace("Cannot create audio capture filter");
  }
  hr = ::CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                          IID_PPV_ARGS(m_pGraphBuilder.Put()));
  if (FAILED(hr)) {
    Trace("Create IGraphBuilder fail");
    return hr;
  }
  hr = ::CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                          IID_PPV_ARGS(m_pCaptureGraphBuilder.Put()));
  if (FAILED(hr)) {
    Trace("Create ICaptureGraphBuilder2 fail");
    return hr;
  }
  hr = m_pCaptureGraphBuilder->SetFiltergraph(m_pGraphBuilder.Get());
  if (FAILED(hr)) {
    Trace("Create SetFiltergraph fail");
    Trace("AddFilter(m_pVideoDevFilter) fail");
  } else {
    hr = m_pGraphBuilder->AddFilter(m_pVideoDevFilter.Get(), m_videoDevice.wide);
    if (FAILED(hr)) Trace("AddFilter(m_pVideoDevFilter) fail");
  }
  m_pCaptureGraphBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video,
                                        m_pVideoDevFilter.Get(), IID_IAMStreamConfig,
                                        m_pVideoStreamConfig.PutVoid());
  return hr;
}

void DevGraphBuilder::SetCaptureParams(bool enableAudio, const char* videoName,
                                       const char* audioName) {
  if (!enableAudio) {
    if (m_bAudioInGraph && m_pGraphBuilder && m_pAudioDevFilter) {
      m_pGraphBuilder->RemoveFilter(m_pAudioDevFilter.Get());
    }
    m_bAudioInGraph = FALSE;
  } else if (m_pGraphBuilder && m_pAudioDevFilter) {
    if (FAILED(m_pGraphBuilder->AddFilter(m_pAudioDevFilter.Get(), m_audioDevice.wide))) {
      Trace("AddFilter(m_pAudioDevFilter) fail");
    }
    m_bAudioInGraph = TRUE;
  }
  if (videoName && *videoName) m_videoDevice.Set(base::Widen(videoName));
  if (audioName && *audioName) m_audioDevice.Set(base::Widen(audioName));
}

HRESULT DevGraphBuilder::ShowWindowFailure(HRESULT hr, const char* what) {
  char text[1024];
  std::snprintf(text, sizeof text, "FAILED(hr=0x%x) in %s\n", static_cast<unsigned>(hr), what);
  base::ShowMessageBox(m_pDShowCapDlg ? m_pDShowCapDlg->m_hWnd : nullptr, base::Widen(text),
                       L"My Capture", MB_OK);
  return hr;
}

// Places the video window over the whole preview area.
HRESULT DevGraphBuilder::PlaceVideoWindow() {
  long width = 0, height = 0;
  m_pBasicVideo->GetVideoSize(&width, &height);  // only asked; the area decides the size
  HRESULT hr = m_pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(m_hPlayWindow));
  if (FAILED(hr)) return ShowWindowFailure(hr, "m_pVideoWindow->put_Owner((OAHWND)m_hPlayWindow)");
  hr = m_pVideoWindow->put_WindowStyle(WS_CHILD);
  if (FAILED(hr)) return ShowWindowFailure(hr, "m_pVideoWindow->put_WindowStyle(WS_CHILD )");
  RECT client{};
  ::GetClientRect(m_hPlayWindow, &client);
  hr = m_pVideoWindow->SetWindowPosition(0, 0, client.right, client.bottom);
  if (FAILED(hr)) {
    return ShowWindowFailure(hr,
                             "m_pVideoWindow->SetWindowPosition(DstLeft, DstTop, Width, Height)");
  }
  return hr;
}

void DevGraphBuilder::RequestRgb24() {
  if (!m_pCurrentFormat && !ReadCurrentFormat()) return;
  AM_MEDIA_TYPE& mt = *m_pCurrentFormat;
  long width = 0, height = 0;
  DWORD compression = 0;
  if (mt.formattype == FORMAT_VideoInfo && mt.pbFormat && mt.cbFormat >= sizeof(VIDEOINFOHEADER)) {
    BITMAPINFOHEADER& bih = reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader;
    width = bih.biWidth;
    height = bih.biHeight;
    mt.subtype = MEDIASUBTYPE_RGB24;
    mt.lSampleSize = static_cast<ULONG>(width * height * 3);
    bih.biSizeImage = mt.lSampleSize;
    bih.biCompression = BI_RGB;
    bih.biBitCount = 24;
    compression = bih.biCompression;
  }
  if (m_pVideoStreamConfig && SUCCEEDED(m_pVideoStreamConfig->SetFormat(&mt))) {
    Trace("BuildPreviewGraph: width %ld, height %ld, comp 0x%0lx, OK !", width, height,
          compression);
  } else {
    Trace("BuildPreviewGraph: width %ld, height %ld, comp 0x%0lx ,Fail!", width, height,
          compression);
  }
}

// Reconnects the connected outputs of `filter` with their old types, so
// that each negotiates afresh with the (new) upstream connection: a tee
// keeps its preview allocator otherwise.
void DevGraphBuilder::ReconnectOutputs(IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  if (!filter || FAILED(filter->EnumPins(pins.Put()))) return;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    PIN_DIRECTION dir;
    ComPtr<IPin> peer;
    if (FAILED(pin->QueryDirection(&dir)) || dir != PINDIR_OUTPUT ||
        FAILED(pin->ConnectedTo(peer.Put()))) {
      continue;
    }
    dshow::MediaType type;
    pin->ConnectionMediaType(type.Mutable());
    m_pGraphBuilder->Disconnect(peer.Get());
    m_pGraphBuilder->Disconnect(pin.Get());
    if (FAILED(m_pGraphBuilder->ConnectDirect(pin.Get(), peer.Get(), &type.Get()))) {
      m_pGraphBuilder->Connect(pin.Get(), peer.Get());
    }
  }
}

// A grabber that cannot be placed leaves the preview as it was: the
// camera connected straight to its old peer again, without the grabber.
void DevGraphBuilder::RestoreConnection(IPin* cameraOut, IPin* peer, const AM_MEDIA_TYPE& type) {
  for (const PIN_DIRECTION dir : {PINDIR_INPUT, PINDIR_OUTPUT}) {
    const ComPtr<IPin> end = FirstPin(m_pFrameGrabber.Get(), dir);
    ComPtr<IPin> other;
    if (end && SUCCEEDED(end->ConnectedTo(other.Put()))) {
      m_pGraphBuilder->Disconnect(other.Get());
      m_pGraphBuilder->Disconnect(end.Get());
    }
  }
  if (FAILED(m_pGraphBuilder->ConnectDirect(cameraOut, peer, &type)) &&
      FAILED(m_pGraphBuilder->Connect(cameraOut, peer))) {
    Trace("RestoreConnection fail!");
  }
}

void DevGraphBuilder::InsertGrabber() {
  ComPtr<IPin> cameraOut = FirstPin(m_pVideoDevFilter.Get(), PINDIR_OUTPUT);
  ComPtr<IPin> peer;
  ComPtr<IPin> grabberIn = FirstPin(m_pFrameGrabber.Get(), PINDIR_INPUT);
  ComPtr<IPin> grabberOut = FirstPin(m_pFrameGrabber.Get(), PINDIR_OUTPUT);
  if (!cameraOut || FAILED(cameraOut->ConnectedTo(peer.Put())) || !grabberIn || !grabberOut) {
    Trace("ConnectDownstreamOf fail!");
    return;
  }
  dshow::MediaType type;
  cameraOut->ConnectionMediaType(type.Mutable());
  m_pGraphBuilder->Disconnect(cameraOut.Get());
  m_pGraphBuilder->Disconnect(peer.Get());
  if (FAILED(m_pGraphBuilder->Connect(cameraOut.Get(), grabberIn.Get())) ||
      FAILED(m_pGraphBuilder->Connect(grabberOut.Get(), peer.Get()))) {
    Trace("ConnectDownstreamOf fail!");
    RestoreConnection(cameraOut.Get(), peer.Get(), type.Get());
    return;
  }
  PIN_INFO info{};
  if (SUCCEEDED(peer->QueryPinInfo(&info)) && info.pFilter) {
    auto next = ComPtr<IBaseFilter>::Attach(info.pFilter);
    ReconnectOutputs(next.Get());
  }
}

HRESULT DevGraphBuilder::BuildPreviewGraph() {
  if (m_bPreviewGraphBuild) {
    if (!m_pVideoWindow || !m_pBasicVideo) return 0;
    return PlaceVideoWindow();
  }
  if (m_bPreviewing) {
    Trace("m_bCapturing or m_bPreviewing is true");
    return 1;
  }
  if (!m_pVideoDevFilter || !m_pGraphBuilder || !m_pCaptureGraphBuilder) {
    Trace("m_pVideoDevFilter == NULL");
    return 1;
  }
  RequestRgb24();
  HRESULT hr = m_pCaptureGraphBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video,
                                                    m_pVideoDevFilter.Get(), nullptr, nullptr);
  if (hr != S_OK && hr != VFW_S_NOPREVIEWPIN) {
    Trace("RenderStream PIN_CATEGORY_PREVIEW fail !");
    return hr;
  }
  m_pFrameGrabber.Reset();
  m_pFrameGrabber = ComPtr<FrameGrabberFilter>::Attach(new (std::nothrow) FrameGrabberFilter);
  if (m_pFrameGrabber) {
    m_pFrameGrabber->SetBuffers(m_pGrabLatest, m_pGrabSnapshot, m_dwGrabBytes);
    m_pGraphBuilder->AddFilter(m_pFrameGrabber.Get(), L"App Transform");
    InsertGrabber();
  }

  m_pVideoWindow.Reset();
  m_pBasicVideo.Reset();
  hr = m_pGraphBuilder->QueryInterface(IID_IVideoWindow, m_pVideoWindow.PutVoid());
  if (FAILED(hr)) {
    return ShowWindowFailure(
        hr, "m_pGraphBuilder->QueryInterface(IID_IVideoWindow, (void **)&m_pVideoWindow)");
  }
  hr = m_pGraphBuilder->QueryInterface(IID_IBasicVideo, m_pBasicVideo.PutVoid());
  if (FAILED(hr)) {
    return ShowWindowFailure(
        hr, "m_pGraphBuilder->QueryInterface(IID_IBasicVideo, (void **)&m_pBasicVideo)");
  }
  long width = 0, height = 0;
  hr = m_pBasicVideo->GetVideoSize(&width, &height);
  if (FAILED(hr)) return ShowWindowFailure(hr, "m_pBasicVideo->GetVideoSize(&lWidth, &lHeight)");
  hr = PlaceVideoWindow();
  if (FAILED(hr)) return hr;
  hr = m_pVideoWindow->put_Visible(OATRUE);
  if (FAILED(hr)) return ShowWindowFailure(hr, "m_pVideoWindow->put_Visible(OATRUE)");

  m_pMediaEventEx.Reset();
  hr = m_pGraphBuilder->QueryInterface(IID_IMediaEventEx, m_pMediaEventEx.PutVoid());
  if (FAILED(hr)) {
    return ShowWindowFailure(
        hr, "m_pGraphBuilder->QueryInterface(IID_IMediaEventEx, (void **)&m_pMediaEventEx)");
  }
  if (!m_pDShowCapDlg) {
    m_bPreviewGraphBuild = TRUE;
    return hr;
  }
  hr = m_pMediaEventEx->SetNotifyWindow(reinterpret_cast<OAHWND>(m_pDShowCapDlg->m_hWnd),
                                        WM_DEV_GRAPHNOTIFY, 0);
  if (FAILED(hr)) {
    return ShowWindowFailure(
        hr,
        "m_pMediaEventEx->SetNotifyWindow((OAHWND)m_pDShowCapDlg->m_hWnd, WM_DEV_GRAPHNOTIFY, 0)");
  }
  m_bPreviewGraphBuild = TRUE;
  return hr;
}

HRESULT DevGraphBuilder::StartPreview() {
  Trace("Begin to Preview");
  if (m_bPreviewing) {
    Trace("m_bPreviewing is true");
    return 0;
  }
  if (!m_bPreviewGraphBuild) {
    Trace("m_bPreviewGraphBuild is false");
    return 1;
  }
  ComPtr<IMediaControl> control;
  if (!m_pGraphBuilder ||
      FAILED(m_pGraphBuilder->QueryInterface(IID_IMediaControl, control.PutVoid()))) {
    Trace("m_pMediaControl is false");
    return 0;
  }
  Trace("Call Run");
  const HRESULT hr = control->Run();
  if (FAILED(hr)) {
    Trace("Call Run failed");
    control->Stop();
  }
  m_bPreviewing = TRUE;
  Trace("Exit Preview");
  return hr;
}

HRESULT DevGraphBuilder::StopPreview() {
  Trace("Begin to Stop Preview");
  HRESULT hr = 1;
  ComPtr<IMediaControl> control;
  if (!m_bPreviewing) {
    Trace("m_bPreviewing is false");
  } else if (!m_pGraphBuilder) {
    Trace("m_pGraphBuilder is false");
  } else if (FAILED(m_pGraphBuilder->QueryInterface(IID_IMediaControl, control.PutVoid()))) {
    Trace("pMediaControl is NULL");
  } else {
    Trace("Stop preview");
    hr = control->Stop();
    m_bPreviewing = FALSE;
  }
  Trace("Exit Stop Preview");
  return hr;
}

bool DevGraphBuilder::SetFormat(int width, int height, unsigned long imageBytes, int fps) {
  if (!m_pCaptureGraphBuilder || !m_pVideoDevFilter || !m_pVideoStreamConfig) return false;
  m_nFrameRate = fps;
  if (!ReadCurrentFormat()) return false;
  AM_MEDIA_TYPE& mt = *m_pCurrentFormat;
  if (mt.formattype != FORMAT_VideoInfo || !mt.pbFormat || mt.cbFormat < sizeof(VIDEOINFOHEADER)) {
    return false;
  }
  auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat);
  mt.subtype = MEDIASUBTYPE_RGB24;
  mt.lSampleSize = imageBytes;
  if (fps > 0) vih->AvgTimePerFrame = 10000000 / fps;  // a rate of 0 keeps the camera's
  vih->dwBitRate = static_cast<DWORD>(width * height * fps * 24);
  vih->bmiHeader.biWidth = width;
  vih->bmiHeader.biHeight = height;
  vih->bmiHeader.biCompression = BI_RGB;
  vih->bmiHeader.biBitCount = 24;
  vih->bmiHeader.biSizeImage = imageBytes;

  StopPreview();
  TearDownGraph();
  HRESULT hr = m_pVideoStreamConfig->SetFormat(&mt);
  if (FAILED(hr)) Trace("pSC->SetFormat Fail %d,%d", width, height);
  if (m_pVideoWindow) {
    m_pVideoWindow->put_Width(width);
    hr = m_pVideoWindow->put_Height(height);
  }
  BuildPreviewGraph();
  StartPreview();
  EnableSnapshot(true);
  return SUCCEEDED(hr);
}

bool DevGraphBuilder::GetCurrentFormat(int* width, int* height, unsigned long* imageBytes,
                                       DWORD* compression) {
  if (!m_pCaptureGraphBuilder || !m_pVideoDevFilter || !width || !height || !imageBytes ||
      !compression || !m_pVideoStreamConfig) {
    return false;
  }
  if (!ReadCurrentFormat()) return false;
  const AM_MEDIA_TYPE& mt = *m_pCurrentFormat;
  if (mt.formattype != FORMAT_VideoInfo || !mt.pbFormat || mt.cbFormat < sizeof(VIDEOINFOHEADER)) {
    return false;
  }
  const BITMAPINFOHEADER& bih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader;
  *width = bih.biWidth;
  *height = bih.biHeight;
  *compression = bih.biCompression;
  *imageBytes = mt.lSampleSize;
  return true;
}

bool DevGraphBuilder::SetVideoWindowSize(int width, int height) {
  if (!m_pVideoWindow) return false;
  m_pVideoWindow->put_Width(width);
  return SUCCEEDED(m_pVideoWindow->put_Height(height));
}

void DevGraphBuilder::SetGrabBuffers(unsigned char* latestTarget, unsigned char* snapshotTarget,
                                     unsigned long frameBytes) {
  m_pGrabLatest = latestTarget;
  m_pGrabSnapshot = snapshotTarget;
  m_dwGrabBytes = frameBytes;
  if (m_pFrameGrabber) m_pFrameGrabber->SetBuffers(latestTarget, snapshotTarget, frameBytes);
}

void DevGraphBuilder::EnableSnapshot(bool on) {
  if (m_pFrameGrabber) m_pFrameGrabber->EnableSnapshot(on);
}

bool DevGraphBuilder::CopyLatestFrame() {
  return m_pFrameGrabber && m_pFrameGrabber->CopyLatestFrame();
}

bool DevGraphBuilder::GetSnapshot() { return m_pFrameGrabber && m_pFrameGrabber->GetSnapshot(); }

void DevGraphBuilder::TearDownGraph() {
  if (m_pMediaEventEx) m_pMediaEventEx->SetNotifyWindow(0, 0, 0);
  m_pMediaEventEx.Reset();
  m_pBasicVideo.Reset();
  if (m_pVideoWindow) {
    m_pVideoWindow->put_Owner(0);
    m_pVideoWindow->put_Visible(OAFALSE);
  }
  m_pVideoWindow.Reset();
  dshow::RemoveDownstream(m_pGraphBuilder.Get(), m_pVideoDevFilter.Get());
  dshow::RemoveDownstream(m_pGraphBuilder.Get(), m_pAudioDevFilter.Get());
  if (m_pVideoCompressor && m_pGraphBuilder)
    m_pGraphBuilder->RemoveFilter(m_pVideoCompressor.Get());
  m_bPreviewGraphBuild = FALSE;
}

void DevGraphBuilder::FreeCaptureFilters() {
  StopPreview();
  TearDownGraph();
  if (m_pGraphBuilder) {
    if (m_pVideoDevFilter) m_pGraphBuilder->RemoveFilter(m_pVideoDevFilter.Get());
    if (m_pAudioDevFilter) m_pGraphBuilder->RemoveFilter(m_pAudioDevFilter.Get());
  }
  m_bAudioInGraph = FALSE;
  m_pVideoStreamConfig.Reset();
  m_pGraphBuilder.Reset();
  m_pCaptureGraphBuilder.Reset();
  m_pVideoDevFilter.Reset();
  m_pAudioDevFilter.Reset();
  m_pVideoCompressor.Reset();
  m_pFrameGrabber.Reset();
  m_pmVideo.Reset();
  m_pmAudio.Reset();
}

bool DevGraphBuilder::IsOurVideoFilter(LONG_PTR unknown) const {
  if (!m_pVideoDevFilter || !unknown) return false;
  return Identity(reinterpret_cast<IUnknown*>(unknown)).Get() ==
         Identity(m_pVideoDevFilter.Get()).Get();
}

void DevGraphBuilder::OnGraphEvent(WPARAM, LPARAM) {
  bool restart = false;
  long code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (m_pMediaEventEx && m_pMediaEventEx->GetEvent(&code, &param1, &param2, 0) == S_OK) {
    // Decide on the parameters before they are freed.
    const bool ourDeviceGone = code == EC_DEVICE_LOST && param2 == 0 && IsOurVideoFilter(param1);
    m_pMediaEventEx->FreeEventParams(code, param1, param2);
    if (code == EC_ERRORABORT) {
      Trace("EC_ERRORABORT");
      restart = true;
      continue;
    }
    if (code == EC_DEVICE_LOST) {
      Trace("EC_DEVICE_LOST 11");
      if (ourDeviceGone) {
        FreeCaptureFilters();
        Trace("EC_DEVICE_LOST");
        return;
      }
    }
    if (!restart) break;
  }
  if (restart) RestartPreview();
}

// A stream error may have left the graph stopped with the flags still
// saying it runs: take it down and build it again so that it really restarts.
void DevGraphBuilder::RestartPreview() {
  StopPreview();
  TearDownGraph();
  BuildPreviewGraph();
  StartPreview();
  EnableSnapshot(true);
}

void DevGraphBuilder::ShowDevicePropertyPages(HWND owner) {
  if (!m_pCaptureGraphBuilder || !m_pVideoDevFilter) return;
  ComPtr<ISpecifyPropertyPages> specify;
  if (FAILED(m_pVideoDevFilter->QueryInterface(IID_ISpecifyPropertyPages, specify.PutVoid())))
    return;
  CAUUID pages{};
  if (FAILED(specify->GetPages(&pages))) return;
  IUnknown* object = m_pVideoDevFilter.Get();
  // Captioned with the camera's name, as the platform's own settings show it.
  ::OleCreatePropertyFrame(owner, 30, 30, m_videoDevice.wide, 1, &object, pages.cElems,
                           pages.pElems, 0, 0, nullptr);
  ::CoTaskMemFree(pages.pElems);
}

bool DevGraphBuilder::SetCompressorByName(const char* name) {
  if (!name) return false;
  if (m_pVideoCompressor && m_videoCompressor.name == name) return true;
  m_videoCompressor.Set(base::Widen(name));
  if (m_pVideoCompressor && m_pGraphBuilder)
    m_pGraphBuilder->RemoveFilter(m_pVideoCompressor.Get());
  m_pVideoCompressor.Reset();
  if (std::strcmp(name, "NULL Compressor") == 0) return true;

  ComPtr<ICreateDevEnum> devEnum;
  ComPtr<IEnumMoniker> monikers;
  if (FAILED(::CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(devEnum.Put()))) ||
      devEnum->CreateClassEnumerator(CLSID_VideoCompressorCategory, monikers.Put(), 0) != S_OK) {
    return false;
  }
  const std::wstring wanted = base::Widen(name);
  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.Put(), nullptr) == S_OK) {
    const std::wstring friendly = FriendlyName(moniker.Get());
    if (friendly != wanted) continue;
    if (SUCCEEDED(
            moniker->BindToObject(nullptr, nullptr, IID_PPV_ARGS(m_pVideoCompressor.Put())))) {
      m_videoCompressor.Set(friendly);
    }
    break;
  }
  return static_cast<bool>(m_pVideoCompressor);
}

// Runs `step` on each output pin's IAMVideoCompression until one fails (a
// pin without the interface counts as a failure).
template <class Step>
static void ForEachCompressionPin(IBaseFilter* compressor, Step step) {
  ComPtr<IEnumPins> pins;
  if (!compressor || FAILED(compressor->EnumPins(pins.Put()))) return;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    PIN_DIRECTION dir;
    if (FAILED(pin->QueryDirection(&dir)) || dir != PINDIR_OUTPUT) continue;
    ComPtr<IAMVideoCompression> compression;
    if (FAILED(pin->QueryInterface(IID_IAMVideoCompression, compression.PutVoid())) ||
        !step(compression.Get()))
      return;
  }
}

bool DevGraphBuilder::SetCompressionQuality(int percent) {
  bool qualitySet = false;
  ForEachCompressionPin(m_pVideoCompressor.Get(), [&](IAMVideoCompression* c) {
    long capabilities = 0;
    if (FAILED(c->GetInfo(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          &capabilities))) {
      return false;
    }
    if (capabilities & CompressionCaps_CanQuality) {
      if (FAILED(c->put_Quality(percent * 0.01))) return false;
      qualitySet = true;
    }
    if ((capabilities & CompressionCaps_CanKeyFrame) && FAILED(c->put_KeyFrameRate(m_nFrameRate))) {
      return false;
    }
    return true;
  });
  return qualitySet;
}

bool DevGraphBuilder::GetCompressorCaps(int* canQuality, int* quality, int* hasConfigDialog,
                                        int* hasAboutDialog) {
  if (!canQuality || !quality || !hasConfigDialog || !hasAboutDialog) return false;
  *canQuality = *quality = *hasConfigDialog = *hasAboutDialog = 0;
  if (!m_pVideoCompressor) return false;
  ComPtr<IAMVfwCompressDialogs> dialogs;
  if (SUCCEEDED(m_pVideoCompressor->QueryInterface(IID_IAMVfwCompressDialogs, dialogs.PutVoid())))
    *hasConfigDialog = *hasAboutDialog = 1;
  ForEachCompressionPin(m_pVideoCompressor.Get(), [&](IAMVideoCompression* c) {
    long capabilities = 0;
    double defaultQuality = 0;
    if (FAILED(c->GetInfo(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &defaultQuality,
                          &capabilities))) {
      return false;
    }
    if (capabilities & CompressionCaps_CanQuality) {
      double value = 0;
      if (FAILED(c->get_Quality(&value))) return false;
      *canQuality = 1;
      *quality = static_cast<int>((value < 0 ? defaultQuality : value) * 100);
    }
    return true;
  });
  return true;
}

void DevGraphBuilder::ShowCompressorDialog(int kind, HWND owner) {
  ComPtr<IAMVfwCompressDialogs> dialogs;
  if (!m_pVideoCompressor ||
      FAILED(m_pVideoCompressor->QueryInterface(IID_IAMVfwCompressDialogs, dialogs.PutVoid())))
    return;
  if (kind == 1) dialogs->ShowDialog(VfwCompressDialog_Config, owner);
  if (kind == 2) dialogs->ShowDialog(VfwCompressDialog_About, owner);
}

int DevGraphBuilder::QueryStillImageSize() {
  ComPtr<IKsObjectHandle> ksObject;
  ComPtr<IKsPropertySet> properties;
  DWORD support = 0;
  if (!m_pVideoDevFilter || FAILED(m_pVideoDevFilter.As(ksObject)) ||
      FAILED(m_pVideoDevFilter->QueryInterface(IID_IKsPropertySet, properties.PutVoid())) ||
      FAILED(properties->QuerySupported(kStillSizeSet, kStillSizeProperty, &support)) ||
      !(support & KSPROPERTY_SUPPORT_GET)) {
    return 0;
  }
  HANDLE device = ksObject->KsGetObjectHandle();
  if (!device || device == INVALID_HANDLE_VALUE) return 0;
  // One buffer in and out: the property header (set, id, flags = get)
  // followed by 16 bytes, the code in the first four.
  BYTE buffer[40] = {};
  const DWORD id = kStillSizeProperty, flags = 1;
  std::memcpy(buffer, &kStillSizeSet, sizeof kStillSizeSet);
  std::memcpy(buffer + 16, &id, sizeof id);
  std::memcpy(buffer + 20, &flags, sizeof flags);
  DWORD returned = 0;
  if (!::DeviceIoControl(device, kIoctlKsProperty, buffer, sizeof buffer, buffer, sizeof buffer,
                         &returned, nullptr)) {
    return 0;
  }
  int code = 0;
  std::memcpy(&code, buffer + 24, sizeof code);
  return code;
}
