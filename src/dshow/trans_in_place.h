#pragma once
// A filter that hands every sample through unchanged in type, letting the
// derived class look at or change the data in place. Input and output carry
// the same media type; the samples travel in the upstream pin's allocator.
#include "dshow/filter.h"
#include "dshow/pins.h"

namespace dshow {

class CTransInPlaceFilter : public Filter {
 public:
  explicit CTransInPlaceFilter(const CLSID& clsid);

  int GetPinCount() override { return 2; }
  Pin* GetPin(int index) override;

 protected:
  // S_OK for an input type the filter can take.
  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE& mt) = 0;
  // S_OK when input and output may carry these types.
  virtual HRESULT CheckTransform(const AM_MEDIA_TYPE& in, const AM_MEDIA_TYPE& out) = 0;
  // Output types offered besides the input's own (index 0 is always the
  // input's type); anything but S_OK ends the list.
  virtual HRESULT GetMediaType(int index, AM_MEDIA_TYPE& mt) = 0;
  // One sample on the streaming thread: S_OK passes it on, S_FALSE drops it.
  virtual HRESULT Transform(IMediaSample* sample) = 0;

 private:
  class InPin : public InputPin {
   public:
    explicit InPin(CTransInPlaceFilter& filter) : InputPin(filter, L"Input"), m_owner(filter) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
    HRESULT GetMediaType(int, AM_MEDIA_TYPE&) override { return VFW_S_NO_MORE_ITEMS; }
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

   protected:
    HRESULT OnReceive(IMediaSample* sample) override;

   private:
    CTransInPlaceFilter& m_owner;
  };

  class OutPin : public OutputPin {
   public:
    explicit OutPin(CTransInPlaceFilter& filter) : OutputPin(filter, L"Output"), m_owner(filter) {}
    HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) override;
    HRESULT GetMediaType(int index, AM_MEDIA_TYPE& mt) override;
    // The allocator is the input's: upstream commits it.
    HRESULT Active() override { return S_OK; }
    void Inactive() override {}

   protected:
    HRESULT DecideAllocator(IMemInputPin* input, base::ComPtr<IMemAllocator>& allocator) override;

   private:
    CTransInPlaceFilter& m_owner;
  };

  InPin m_input;
  OutPin m_output;
};

}  // namespace dshow
