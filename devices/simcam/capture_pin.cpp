#include "capture_pin.h"

#include <dbt.h>
#include <ks.h>
#include <ksmedia.h>

#include <algorithm>
#include <cstring>

#include "dshow/filter.h"
#include "dshow/media_type.h"

namespace simcam {
namespace {

struct FrameSize {
  int width, height;
};
// The last size only for the QVC5520 family.
constexpr FrameSize kSizes[] = {{160, 120}, {176, 144}, {320, 240},
                                {352, 288}, {640, 480}, {800, 600}};
constexpr REFERENCE_TIME kFastestFrame = 333333;    // 30 frames per second
constexpr REFERENCE_TIME kSlowestFrame = 10000000;  // 1 frame per second

// FOURCC 'I420' as a media subtype.
const GUID kSubtypeI420 = {
    0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// The device interface class of capture devices, as removal notices name it.
const GUID kCaptureCategory = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// The camera's first size: 352x288 unless simcamctl chose another.
int ConfiguredWidth() { return ReadDriverValue(kSizeValue) >> 16; }
int ConfiguredHeight() { return ReadDriverValue(kSizeValue) & 0xFFFF; }

PixelFormat ConfiguredPixelFormat() {
  return ReadDriverValue(kFormatValue) == 1 ? PixelFormat::I420 : PixelFormat::Rgb24;
}

// Waits for a thread while still answering messages sent to this thread, so
// that a streaming thread inside SendMessage to it can finish.
void JoinPumpingSentMessages(HANDLE thread) {
  for (;;) {
    const DWORD r = ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) return;
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

CapturePin::CapturePin(dshow::Filter& filter)
    : OutputPin(filter, L"Capture"),
      m_family(InstalledFamily()),
      m_pixelFormat(ConfiguredPixelFormat()),
      m_interfaceKey(InstalledInterfaceKey()),
      m_startFormat{ConfiguredWidth() > 0 ? ConfiguredWidth() : 352,
                    ConfiguredHeight() > 0 ? ConfiguredHeight() : 288},
      m_format(m_startFormat),
      m_stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CapturePin::~CapturePin() { StopStreaming(); }

HRESULT CapturePin::QueryExtraInterface(REFIID riid, void** ppv) {
  if (riid == IID_IAMStreamConfig) {
    return dshow::GiveOut<IAMStreamConfig>(this, reinterpret_cast<IAMStreamConfig**>(ppv));
  }
  if (riid == IID_IKsPropertySet) {
    return dshow::GiveOut<IKsPropertySet>(this, reinterpret_cast<IKsPropertySet**>(ppv));
  }
  return E_NOINTERFACE;
}

int CapturePin::SizeCount() const {
  const int all = static_cast<int>(std::size(kSizes));
  return m_family == Family::Qvc5520 ? all : all - 1;
}

bool CapturePin::IsOfferedSize(int width, int height) const {
  if (width == m_startFormat.width && height == m_startFormat.height) return true;
  const auto end = kSizes + SizeCount();
  return std::find_if(kSizes, end, [&](const FrameSize& s) {
           return s.width == width && s.height == height;
         }) != end;
}

bool CapturePin::BuildType(const Format& format, AM_MEDIA_TYPE& mt) const {
  auto* vih = static_cast<VIDEOINFOHEADER*>(::CoTaskMemAlloc(sizeof(VIDEOINFOHEADER)));
  if (!vih) return false;
  *vih = VIDEOINFOHEADER{};
  const bool i420 = m_pixelFormat == PixelFormat::I420;
  const size_t bytes = FrameBytes(m_pixelFormat, format.width, format.height);
  BITMAPINFOHEADER& bih = vih->bmiHeader;
  bih.biSize = sizeof(BITMAPINFOHEADER);
  bih.biWidth = format.width;
  bih.biHeight = format.height;
  bih.biPlanes = 1;
  bih.biBitCount = i420 ? 12 : 24;
  bih.biCompression = i420 ? MAKEFOURCC('I', '4', '2', '0') : BI_RGB;
  bih.biSizeImage = static_cast<DWORD>(bytes);
  vih->AvgTimePerFrame = format.frameTime;
  vih->dwBitRate = static_cast<DWORD>(bytes * 8 * (10000000 / format.frameTime));
  mt = AM_MEDIA_TYPE{};
  mt.majortype = MEDIATYPE_Video;
  mt.subtype = i420 ? kSubtypeI420 : MEDIASUBTYPE_RGB24;
  mt.bFixedSizeSamples = TRUE;
  mt.lSampleSize = static_cast<ULONG>(bytes);
  mt.formattype = FORMAT_VideoInfo;
  mt.cbFormat = sizeof(VIDEOINFOHEADER);
  mt.pbFormat = reinterpret_cast<BYTE*>(vih);
  return true;
}

// Reads a type the camera can deliver into `format`; false for any other.
bool CapturePin::ParseType(const AM_MEDIA_TYPE& mt, Format& format) const {
  const bool i420 = m_pixelFormat == PixelFormat::I420;
  if (mt.majortype != MEDIATYPE_Video || mt.subtype != (i420 ? kSubtypeI420 : MEDIASUBTYPE_RGB24) ||
      mt.formattype != FORMAT_VideoInfo || mt.cbFormat < sizeof(VIDEOINFOHEADER) || !mt.pbFormat) {
    return false;
  }
  const auto* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
  const BITMAPINFOHEADER& bih = vih->bmiHeader;
  if (bih.biBitCount != (i420 ? 12 : 24) || bih.biHeight <= 0 ||
      !IsOfferedSize(bih.biWidth, bih.biHeight)) {
    return false;
  }
  format.width = bih.biWidth;
  format.height = bih.biHeight;
  format.frameTime = vih->AvgTimePerFrame <= 0
                         ? kFastestFrame
                         : std::clamp(vih->AvgTimePerFrame, kFastestFrame, kSlowestFrame);
  return true;
}

HRESULT CapturePin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  Format unused;
  return ParseType(mt, unused) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CapturePin::GetMediaType(int index, AM_MEDIA_TYPE& mt) {
  dshow::AutoLock lock(m_filter.StateLock());
  Format format = m_format;
  if (index < 0 || index > SizeCount()) return VFW_S_NO_MORE_ITEMS;
  if (index > 0) {
    format.width = kSizes[index - 1].width;
    format.height = kSizes[index - 1].height;
  }
  return BuildType(format, mt) ? S_OK : E_OUTOFMEMORY;
}

HRESULT CapturePin::CompleteConnect(IPin* peer) {
  Format connected;
  if (!ParseType(CurrentType(), connected)) return VFW_E_TYPE_NOT_ACCEPTED;
  m_format = connected;
  return OutputPin::CompleteConnect(peer);
}

HRESULT CapturePin::DecideBufferSize(IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& wanted) {
  ALLOCATOR_PROPERTIES request = wanted;
  // Three buffers at least: with one, a tee downstream starves the stream.
  request.cBuffers = std::max(wanted.cBuffers, 3L);
  request.cbBuffer =
      std::max(wanted.cbBuffer,
               static_cast<long>(FrameBytes(m_pixelFormat, m_format.width, m_format.height)));
  request.cbAlign = std::max(wanted.cbAlign, 1L);
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(&request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cBuffers >= 3 && actual.cbBuffer >= request.cbBuffer ? S_OK : E_FAIL;
}

STDMETHODIMP CapturePin::SetFormat(AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  dshow::AutoLock lock(m_filter.StateLock());
  Format format;
  if (!ParseType(*mt, format)) return VFW_E_INVALIDMEDIATYPE;
  if (IsConnected()) {
    // The running connection keeps its type; only the same type is accepted.
    Format current;
    if (!ParseType(CurrentType(), current) || current.width != format.width ||
        current.height != format.height || current.frameTime != format.frameTime) {
      return VFW_E_ALREADY_CONNECTED;
    }
  }
  m_format = format;
  return S_OK;
}

STDMETHODIMP CapturePin::GetFormat(AM_MEDIA_TYPE** mt) {
  if (!mt) return E_POINTER;
  dshow::AutoLock lock(m_filter.StateLock());
  dshow::MediaType current;
  if (!BuildType(m_format, *current.Mutable())) return E_OUTOFMEMORY;
  *mt = dshow::CreateMediaType(current.Get());
  return *mt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CapturePin::GetNumberOfCapabilities(int* count, int* size) {
  if (!count || !size) return E_POINTER;
  *count = SizeCount();
  *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
  return S_OK;
}

STDMETHODIMP CapturePin::GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps) {
  if (!mt || !caps) return E_POINTER;
  if (index < 0 || index >= SizeCount()) return S_FALSE;
  Format format;
  format.width = kSizes[index].width;
  format.height = kSizes[index].height;
  dshow::MediaType type;
  if (!BuildType(format, *type.Mutable())) return E_OUTOFMEMORY;
  *mt = dshow::CreateMediaType(type.Get());
  if (!*mt) return E_OUTOFMEMORY;
  auto* c = reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps);
  *c = VIDEO_STREAM_CONFIG_CAPS{};
  c->guid = FORMAT_VideoInfo;
  c->InputSize = c->MinCroppingSize = c->MaxCroppingSize = c->MinOutputSize = c->MaxOutputSize =
      SIZE{format.width, format.height};
  c->MinFrameInterval = kFastestFrame;
  c->MaxFrameInterval = kSlowestFrame;
  return S_OK;
}

STDMETHODIMP CapturePin::Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD dataBytes,
                             DWORD* returned) {
  if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
  if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
  if (!data && !returned) return E_POINTER;
  if (returned) *returned = sizeof(GUID);
  if (!data) return S_OK;
  if (dataBytes < sizeof(GUID)) return E_UNEXPECTED;
  *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
  return S_OK;
}

STDMETHODIMP CapturePin::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
  if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
  if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
  if (support) *support = KSPROPERTY_SUPPORT_GET;
  return S_OK;
}

// ---- streaming ----

void CapturePin::StartStreaming() {
  StopStreaming();  // a thread asked to pause ends before the next one starts
  if (!m_stop) return;
  ::ResetEvent(m_stop.Get());
  m_snapRequests = ReadDriverValue(kSnapRequestsValue);  // earlier presses are history
  m_thread.Reset(::CreateThread(nullptr, 0, &CapturePin::ThreadEntry, this, 0, nullptr));
}

void CapturePin::PauseStreaming() {
  if (m_thread) ::SetEvent(m_stop.Get());
}

void CapturePin::StopStreaming() {
  if (!m_thread) return;
  ::SetEvent(m_stop.Get());
  JoinPumpingSentMessages(m_thread.Get());
  m_thread.Reset();
}

DWORD WINAPI CapturePin::ThreadEntry(void* self) {
  try {
    static_cast<CapturePin*>(self)->Stream();
    return 0;
  } catch (...) {  // out of memory: the stream ends, the process goes on
    return 1;
  }
}

// Paces frames by the performance counter: frame k is due k frame times
// after the start, so a late frame does not push the later ones back.
void CapturePin::Stream() {
  LARGE_INTEGER frequency, start, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  const REFERENCE_TIME frameTime = m_format.frameTime;
  for (REFERENCE_TIME k = 1;; ++k) {
    ::QueryPerformanceCounter(&now);
    const double elapsed = double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    const double due = double(k * frameTime) / 1e7;
    const DWORD wait = due > elapsed ? static_cast<DWORD>((due - elapsed) * 1000.0) : 0;
    if (::WaitForSingleObject(m_stop.Get(), wait) == WAIT_OBJECT_0) return;
    if (CheckPresence()) DeliverFrame(k - 1);
  }
}

void CapturePin::DeliverFrame(REFERENCE_TIME index) {
  base::ComPtr<IMediaSample> sample;
  if (FAILED(GetDeliveryBuffer(sample))) return;  // decommitted: the stop is near
  BYTE* data = nullptr;
  const size_t bytes = FrameBytes(m_pixelFormat, m_format.width, m_format.height);
  if (FAILED(sample->GetPointer(&data)) || static_cast<size_t>(sample->GetSize()) < bytes) return;
  // The property page's changes show from the next frame on.
  DrawFrame(data, m_pixelFormat, m_format.width, m_format.height, m_frameNumber++,
            ReadPictureLook());
  const unsigned long requests = ReadDriverValue(kSnapRequestsValue);
  if (requests != m_snapRequests) {
    m_snapRequests = requests;
    MarkSnapshot(data);
    ReportSnapshot(m_family);
  }
  sample->SetActualDataLength(static_cast<long>(bytes));
  // Stream time of the capture when the graph has a clock, else the slot.
  REFERENCE_TIME begin = index * m_format.frameTime;
  REFERENCE_TIME clockNow = 0;
  if (m_filter.ClockTime(clockNow))
    begin = std::max<REFERENCE_TIME>(0, clockNow - m_filter.StartTime());
  REFERENCE_TIME end = begin + m_format.frameTime;
  sample->SetTime(&begin, &end);
  sample->SetSyncPoint(TRUE);
  Deliver(sample.Get());
}

// Follows "Linked": going to 0 stops the frames, tells the program's
// windows that a capture device went and tells the graph that this device
// is lost; coming back announces it to the graph as available again.
bool CapturePin::CheckPresence() {
  const bool linked = IsLinkedAt(m_interfaceKey);
  if (linked == m_bLinked) return linked;
  m_bLinked = linked;
  IUnknown* self = static_cast<IBaseFilter*>(&m_filter);
  if (!linked) AnnounceRemoval();
  m_filter.NotifyEvent(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(self), linked ? 1 : 0);
  return linked;
}

namespace {

BOOL CALLBACK SendNotice(HWND hwnd, LPARAM lParam) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != ::GetCurrentProcessId()) return TRUE;
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(hwnd, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, lParam, SMTO_ABORTIFHUNG,
                        2000, &result);
  return TRUE;
}

BOOL CALLBACK SendNoticeToTree(HWND hwnd, LPARAM lParam) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != ::GetCurrentProcessId()) return TRUE;
  SendNotice(hwnd, lParam);
  ::EnumChildWindows(hwnd, &SendNotice, lParam);
  return TRUE;
}

}  // namespace

// What the platform tells every window that registered for capture-class
// notices; sent to all windows of this process, children included, since
// the program's capture view is a child window.
void CapturePin::AnnounceRemoval() {
  std::wstring instance = DeviceInstance(m_family);
  std::replace(instance.begin(), instance.end(), L'\\', L'#');
  const std::wstring name =
      L"\\\\?\\" + instance + L"#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global";
  alignas(DEV_BROADCAST_DEVICEINTERFACE_W)
      BYTE notice[sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + 512] = {};
  const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
  const size_t nameBytes =
      std::min((name.size() + 1) * sizeof(wchar_t), sizeof notice - nameOffset - sizeof(wchar_t));
  std::memcpy(notice + nameOffset, name.c_str(), nameBytes);
  DEV_BROADCAST_DEVICEINTERFACE_W header{};
  header.dbcc_size = static_cast<DWORD>(nameOffset + nameBytes);
  header.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  header.dbcc_classguid = kCaptureCategory;
  std::memcpy(notice, &header, nameOffset);
  ::EnumWindows(&SendNoticeToTree, reinterpret_cast<LPARAM>(notice));
}

}  // namespace simcam
