// The capture graph with the simulated camera: its states, the formats, the
// frames the grabber hands out, the snapshot button, device loss and stream
// errors.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/handles.h"
#include "capture/camera_finder.h"
#include "capture/dev_graph_builder.h"
#include "footprint.h"
#include "graph_fixture.h"
#include "picture.h"

namespace {

using namespace testing_win;
using base::ComPtr;

int FiltersIn(IGraphBuilder* graph) {
  ComPtr<IEnumFilters> filters;
  if (!graph || FAILED(graph->EnumFilters(filters.Put()))) return -1;
  int n = 0;
  ComPtr<IBaseFilter> filter;
  while (filters->Next(1, filter.Put(), nullptr) == S_OK) ++n;
  return n;
}

OAFilterState GraphState(IGraphBuilder* graph) {
  ComPtr<IMediaControl> control;
  OAFilterState state = -1;
  if (graph && SUCCEEDED(graph->QueryInterface(IID_IMediaControl, control.PutVoid()))) {
    control->GetState(1000, &state);
  }
  return state;
}

class CaptureGraph : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(m_com.Result()));
    ASSERT_TRUE(m_camera.Installed());
    ASSERT_TRUE(capture::FindCamera());
    m_graph = std::make_unique<DevGraphBuilder>(nullptr, m_host.Preview());
  }
  void TearDown() override {
    m_graph.reset();
    capture::g_bKnownCamera = false;
  }

  // Filters, preview and buffers for `width` x `height` frames.
  void StartPreview() {
    ASSERT_EQ(m_graph->InitCaptureFilters(), S_OK);
    ASSERT_EQ(m_graph->BuildPreviewGraph(), S_OK);
    ASSERT_TRUE(SUCCEEDED(m_graph->StartPreview()));
    HandOutBuffers();
  }
  void HandOutBuffers() {
    int width = 0, height = 0;
    unsigned long bytes = 0;
    DWORD compression = 0;
    ASSERT_TRUE(m_graph->GetCurrentFormat(&width, &height, &bytes, &compression));
    m_width = width;
    m_height = height;
    m_latest.assign(bytes, 0);
    m_snapshot.assign(bytes, 0);
    m_graph->SetGrabBuffers(m_latest.data(), m_snapshot.data(), bytes);
  }
  // The frame number of the newest frame once one newer than `after` came.
  bool WaitForFrameAfter(uint32_t after, uint32_t& number) {
    return WaitUntil([&] {
      if (!m_graph->CopyLatestFrame()) return false;
      number = simcam::ReadFrameNumber(m_latest.data(), simcam::PixelFormat::Rgb24);
      return number > after;
    });
  }

  base::ComScope m_com;
  SimulatedCamera m_camera;
  PreviewHost m_host;
  std::unique_ptr<DevGraphBuilder> m_graph;
  std::vector<unsigned char> m_latest, m_snapshot;
  int m_width = 0, m_height = 0;
};

TEST_F(CaptureGraph, GoesThroughItsStatesAndFreesEverything) {
  ASSERT_EQ(m_graph->InitCaptureFilters(), S_OK);
  EXPECT_EQ(m_graph->m_videoDevice.name, "Lumora Simulated USB Camera");
  EXPECT_STREQ(m_graph->m_videoDevice.wide, L"Lumora Simulated USB Camera");
  ASSERT_TRUE(m_graph->m_pVideoStreamConfig);
  EXPECT_EQ(FiltersIn(m_graph->m_pGraphBuilder.Get()), 1);

  ASSERT_EQ(m_graph->BuildPreviewGraph(), S_OK);
  EXPECT_TRUE(m_graph->m_bPreviewGraphBuild);
  ComPtr<IBaseFilter> grabber;
  EXPECT_EQ(m_graph->m_pGraphBuilder->FindFilterByName(L"App Transform", grabber.Put()), S_OK);
  EXPECT_GE(FiltersIn(m_graph->m_pGraphBuilder.Get()), 3);  // camera, grabber, renderer (and a tee)
  OAHWND owner = 0;
  ASSERT_TRUE(m_graph->m_pVideoWindow);
  m_graph->m_pVideoWindow->get_Owner(&owner);
  EXPECT_EQ(reinterpret_cast<HWND>(owner), m_host.Preview());

  ASSERT_TRUE(SUCCEEDED(m_graph->StartPreview()));
  EXPECT_TRUE(m_graph->m_bPreviewing);
  EXPECT_EQ(GraphState(m_graph->m_pGraphBuilder.Get()), State_Running);
  HandOutBuffers();
  uint32_t first = 0, later = 0;
  ASSERT_TRUE(WaitForFrameAfter(0, first));
  ASSERT_TRUE(WaitForFrameAfter(first, later));

  EXPECT_TRUE(SUCCEEDED(m_graph->StopPreview()));
  EXPECT_FALSE(m_graph->m_bPreviewing);
  EXPECT_EQ(GraphState(m_graph->m_pGraphBuilder.Get()), State_Stopped);
  EXPECT_EQ(m_graph->StopPreview(), 1);  // nothing left to stop

  m_graph->TearDownGraph();
  EXPECT_FALSE(m_graph->m_bPreviewGraphBuild);
  EXPECT_EQ(FiltersIn(m_graph->m_pGraphBuilder.Get()), 1);  // the camera alone
  EXPECT_FALSE(m_graph->m_pVideoWindow);

  m_graph->FreeCaptureFilters();
  EXPECT_FALSE(m_graph->m_pVideoDevFilter);
  EXPECT_FALSE(m_graph->m_pGraphBuilder);
  EXPECT_FALSE(m_graph->m_pmVideo);
  EXPECT_FALSE(m_graph->CopyLatestFrame());
  EXPECT_EQ(m_graph->StartPreview(), 1);  // nothing built
}

TEST_F(CaptureGraph, LatestFrameHoldsTheCamerasPicture) {
  StartPreview();
  uint32_t number = 0;
  ASSERT_TRUE(WaitForFrameAfter(0, number));
  ASSERT_EQ(m_width, 352);
  ASSERT_EQ(m_height, 288);
  std::vector<unsigned char> expected(m_latest.size());
  simcam::DrawFrame(expected.data(), simcam::PixelFormat::Rgb24, m_width, m_height, number);
  EXPECT_TRUE(expected == m_latest) << "frame " << number;
  EXPECT_EQ(m_graph->QueryStillImageSize(), 0);  // no driver behind the simulated camera
}

TEST_F(CaptureGraph, SetFormatTakesEveryOfferedSizeAndKeepsTheOldOnARefusal) {
  StartPreview();
  const struct {
    int width, height;
  } sizes[] = {{160, 120}, {176, 144}, {320, 240}, {352, 288}, {640, 480}, {800, 600}};
  for (const auto& size : sizes) {
    const unsigned long bytes = static_cast<unsigned long>(size.width * size.height * 3);
    EXPECT_TRUE(m_graph->SetFormat(size.width, size.height, bytes, 30)) << size.width;
    HandOutBuffers();
    EXPECT_EQ(m_width, size.width);
    EXPECT_EQ(m_height, size.height);
    EXPECT_EQ(m_latest.size(), bytes);
    EXPECT_TRUE(m_graph->m_bPreviewing);
    uint32_t number = 0;
    ASSERT_TRUE(WaitForFrameAfter(0, number)) << size.width;
    std::vector<unsigned char> expected(bytes);
    simcam::DrawFrame(expected.data(), simcam::PixelFormat::Rgb24, size.width, size.height, number);
    EXPECT_TRUE(expected == m_latest) << size.width;
  }
  // 1024x768 is not offered: the camera stays at 800x600, the preview runs.
  EXPECT_FALSE(m_graph->SetFormat(1024, 768, 1024 * 768 * 3, 30));
  HandOutBuffers();
  EXPECT_EQ(m_width, 800);
  EXPECT_EQ(m_height, 600);
  EXPECT_EQ(GraphState(m_graph->m_pGraphBuilder.Get()), State_Running);
  uint32_t number = 0;
  EXPECT_TRUE(WaitForFrameAfter(0, number));
}

TEST_F(CaptureGraph, OtherFamiliesOfferNo800x600) {
  ASSERT_EQ(RunSimcamctl(L"family qvc318"), 0);
  StartPreview();
  EXPECT_TRUE(m_graph->SetFormat(640, 480, 640 * 480 * 3, 15));
  EXPECT_FALSE(m_graph->SetFormat(800, 600, 800 * 600 * 3, 30));
  HandOutBuffers();
  EXPECT_EQ(m_width, 640);
  EXPECT_EQ(m_height, 480);

  // "none" takes the device away: no camera, and no capture device to bind.
  m_graph->FreeCaptureFilters();
  ASSERT_EQ(RunSimcamctl(L"family none"), 0);
  EXPECT_FALSE(capture::FindCamera());
  EXPECT_TRUE(FAILED(m_graph->InitCaptureFilters()));
  EXPECT_FALSE(m_graph->m_pVideoDevFilter);
  EXPECT_EQ(m_graph->BuildPreviewGraph(), 1);
}

TEST_F(CaptureGraph, SnapshotButtonFrameReachesGetSnapshotOfTheKnownCamera) {
  StartPreview();
  m_graph->EnableSnapshot(true);
  uint32_t number = 0;
  ASSERT_TRUE(WaitForFrameAfter(0, number));
  EXPECT_FALSE(m_graph->GetSnapshot());
  ASSERT_EQ(RunSimcamctl(L"snap"), 0);
  ASSERT_TRUE(WaitUntil([&] { return m_graph->GetSnapshot(); }));
  EXPECT_TRUE(simcam::HasSnapshotMark(m_snapshot.data()));
  // The rest of the frame is the picture of its number.
  const uint32_t marked = simcam::ReadFrameNumber(m_snapshot.data(), simcam::PixelFormat::Rgb24);
  std::vector<unsigned char> expected(m_snapshot.size());
  simcam::DrawFrame(expected.data(), simcam::PixelFormat::Rgb24, m_width, m_height, marked);
  simcam::MarkSnapshot(expected.data());
  EXPECT_TRUE(expected == m_snapshot);
  EXPECT_EQ(simcam::ReadDriverValue(L"usb_snapshot_status"), 1u);

  // A camera of the placeholder vendor: its marked frames are no snapshots.
  capture::g_bKnownCamera = false;
  ASSERT_EQ(RunSimcamctl(L"snap"), 0);
  Pump(500ms);
  EXPECT_FALSE(m_graph->GetSnapshot());
}

TEST_F(CaptureGraph, UnpluggingFreesTheFiltersAndTellsTheWindows) {
  StartPreview();
  uint32_t number = 0;
  ASSERT_TRUE(WaitForFrameAfter(0, number));
  ASSERT_EQ(RunSimcamctl(L"unplug"), 0);
  EXPECT_TRUE(WaitUntil([&] { return m_host.RemovalNotices() > 0; }));
  // The graph event arrives; draining it frees all filters, no restart.
  EXPECT_TRUE(WaitUntil([&] {
    m_graph->OnGraphEvent(0, 0);
    return !m_graph->m_pVideoDevFilter;
  }));
  EXPECT_FALSE(m_graph->m_pGraphBuilder);
  EXPECT_FALSE(m_graph->m_bPreviewing);
  EXPECT_FALSE(m_graph->m_bPreviewGraphBuild);
  EXPECT_FALSE(capture::FindCamera());  // "Linked" is 0

  // Plugged in again, the camera can be found and built anew.
  ASSERT_EQ(RunSimcamctl(L"plug"), 0);
  EXPECT_TRUE(capture::FindCamera());
  StartPreview();
  EXPECT_TRUE(WaitForFrameAfter(0, number));
}

TEST_F(CaptureGraph, StreamErrorRebuildsAndRestartsThePreview) {
  StartPreview();
  uint32_t number = 0;
  ASSERT_TRUE(WaitForFrameAfter(0, number));
  // The stream dies with an error: the graph stops and reports it.
  ComPtr<IMediaControl> control;
  ASSERT_EQ(m_graph->m_pGraphBuilder->QueryInterface(IID_IMediaControl, control.PutVoid()), S_OK);
  control->Stop();
  ComPtr<IMediaEventSink> sink;
  ASSERT_EQ(m_graph->m_pGraphBuilder->QueryInterface(IID_IMediaEventSink, sink.PutVoid()), S_OK);
  ASSERT_TRUE(SUCCEEDED(sink->Notify(EC_ERRORABORT, E_FAIL, 0)));
  ASSERT_TRUE(SUCCEEDED(sink->Notify(EC_ERRORABORT, E_FAIL, 0)));
  // One graph notice per event, as the owner window gets them; earlier
  // events (the clock change of Run) stop a drain of their own.
  EXPECT_TRUE(WaitUntil([&] {
    m_graph->OnGraphEvent(0, 0);
    return GraphState(m_graph->m_pGraphBuilder.Get()) == State_Running;
  }));
  EXPECT_TRUE(m_graph->m_pVideoDevFilter);
  EXPECT_TRUE(m_graph->m_bPreviewing);
  EXPECT_EQ(GraphState(m_graph->m_pGraphBuilder.Get()), State_Running);
  // The new grabber fills the same buffers.
  uint32_t after = 0;
  EXPECT_TRUE(WaitForFrameAfter(number, after));
}

TEST_F(CaptureGraph, I420CameraDeliversNumberedI420Frames) {
  ASSERT_EQ(RunSimcamctl(L"format i420"), 0);
  ASSERT_EQ(m_graph->InitCaptureFilters(), S_OK);
  int width = 0, height = 0;
  unsigned long bytes = 0;
  DWORD compression = 0;
  ASSERT_TRUE(m_graph->GetCurrentFormat(&width, &height, &bytes, &compression));
  EXPECT_EQ(compression, static_cast<DWORD>(MAKEFOURCC('I', '4', '2', '0')));
  EXPECT_EQ(bytes, 352u * 288u * 3u / 2u);

  // No renderer here takes I420: camera, grabber and a null renderer.
  const CLSID nullRenderer = {
      0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
  IGraphBuilder* graph = m_graph->m_pGraphBuilder.Get();
  auto grabber = ComPtr<FrameGrabberFilter>::Attach(new FrameGrabberFilter);
  ComPtr<IBaseFilter> sink;
  ASSERT_EQ(::CoCreateInstance(nullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               sink.PutVoid()),
            S_OK);
  ASSERT_EQ(graph->AddFilter(grabber.Get(), L"App Transform"), S_OK);
  ASSERT_EQ(graph->AddFilter(sink.Get(), L"Null"), S_OK);
  ComPtr<IPin> cameraOut, grabberIn, grabberOut, sinkIn;
  ComPtr<IEnumPins> pins;
  ASSERT_EQ(m_graph->m_pVideoDevFilter->EnumPins(pins.Put()), S_OK);
  ASSERT_EQ(pins->Next(1, cameraOut.Put(), nullptr), S_OK);
  ASSERT_EQ(grabber->FindPin(L"Input", grabberIn.Put()), S_OK);
  ASSERT_EQ(grabber->FindPin(L"Output", grabberOut.Put()), S_OK);
  ASSERT_EQ(sink->EnumPins(pins.Put()), S_OK);
  ASSERT_EQ(pins->Next(1, sinkIn.Put(), nullptr), S_OK);
  ASSERT_EQ(graph->ConnectDirect(cameraOut.Get(), grabberIn.Get(), nullptr), S_OK);
  ASSERT_EQ(graph->ConnectDirect(grabberOut.Get(), sinkIn.Get(), nullptr), S_OK);

  m_latest.assign(bytes, 0);
  grabber->SetBuffers(m_latest.data(), nullptr, bytes);
  ComPtr<IMediaControl> control;
  ASSERT_EQ(graph->QueryInterface(IID_IMediaControl, control.PutVoid()), S_OK);
  ASSERT_TRUE(SUCCEEDED(control->Run()));
  uint32_t number = 0;
  EXPECT_TRUE(WaitUntil([&] {
    grabber->CopyLatestFrame();
    number = simcam::ReadFrameNumber(m_latest.data(), simcam::PixelFormat::I420);
    return number > 0;
  }));
  control->Stop();
  std::vector<unsigned char> expected(bytes);
  simcam::DrawFrame(expected.data(), simcam::PixelFormat::I420, 352, 288, number);
  EXPECT_TRUE(expected == m_latest);
}

}  // namespace
