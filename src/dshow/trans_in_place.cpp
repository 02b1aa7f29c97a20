#include "dshow/trans_in_place.h"

namespace dshow {

CTransInPlaceFilter::CTransInPlaceFilter(const CLSID& clsid)
    : Filter(clsid), m_input(*this), m_output(*this) {}

Pin* CTransInPlaceFilter::GetPin(int index) {
  if (index == 0) return &m_input;
  if (index == 1) return &m_output;
  return nullptr;
}

HRESULT CTransInPlaceFilter::InPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  HRESULT hr = m_owner.CheckInputType(mt);
  if (hr != S_OK) return FAILED(hr) ? hr : E_FAIL;
  // A connected output must be able to carry the new type too.
  if (m_owner.m_output.IsConnected()) {
    hr = m_owner.CheckTransform(mt, m_owner.m_output.CurrentType());
    if (hr != S_OK) return FAILED(hr) ? hr : E_FAIL;
    if (m_owner.m_output.Peer()->QueryAccept(&mt) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  }
  return S_OK;
}

HRESULT CTransInPlaceFilter::InPin::OnReceive(IMediaSample* sample) {
  const HRESULT hr = m_owner.Transform(sample);
  if (hr == S_FALSE) return S_OK;
  if (FAILED(hr)) return hr;
  return m_owner.m_output.IsConnected() ? m_owner.m_output.Deliver(sample) : S_OK;
}

STDMETHODIMP CTransInPlaceFilter::InPin::EndOfStream() {
  return m_owner.m_output.DeliverEndOfStream();
}

STDMETHODIMP CTransInPlaceFilter::InPin::BeginFlush() {
  InputPin::BeginFlush();
  return m_owner.m_output.DeliverBeginFlush();
}

STDMETHODIMP CTransInPlaceFilter::InPin::EndFlush() {
  InputPin::EndFlush();
  return m_owner.m_output.DeliverEndFlush();
}

STDMETHODIMP CTransInPlaceFilter::InPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop,
                                                    double rate) {
  return m_owner.m_output.DeliverNewSegment(start, stop, rate);
}

HRESULT CTransInPlaceFilter::OutPin::CheckMediaType(const AM_MEDIA_TYPE& mt) {
  // In place: the output carries exactly what the input does.
  if (!m_owner.m_input.IsConnected()) return VFW_E_NOT_CONNECTED;
  if (!SameMediaType(mt, m_owner.m_input.CurrentType())) return VFW_E_TYPE_NOT_ACCEPTED;
  const HRESULT hr = m_owner.CheckTransform(m_owner.m_input.CurrentType(), mt);
  return hr == S_OK ? S_OK : (FAILED(hr) ? hr : E_FAIL);
}

HRESULT CTransInPlaceFilter::OutPin::GetMediaType(int index, AM_MEDIA_TYPE& mt) {
  if (!m_owner.m_input.IsConnected()) return VFW_S_NO_MORE_ITEMS;
  if (index == 0) {
    return CopyMediaType(mt, m_owner.m_input.CurrentType()) ? S_OK : E_OUTOFMEMORY;
  }
  return m_owner.GetMediaType(index - 1, mt) == S_OK ? S_OK : VFW_S_NO_MORE_ITEMS;
}

HRESULT CTransInPlaceFilter::OutPin::DecideAllocator(IMemInputPin* input,
                                                     base::ComPtr<IMemAllocator>& allocator) {
  IMemAllocator* upstream = m_owner.m_input.Allocator();
  if (!upstream) return VFW_E_NO_ALLOCATOR;
  HRESULT hr = upstream->QueryInterface(IID_PPV_ARGS(allocator.Put()));
  if (SUCCEEDED(hr)) hr = input->NotifyAllocator(allocator.Get(), FALSE);
  if (FAILED(hr)) allocator.Reset();
  return hr;
}

}  // namespace dshow
