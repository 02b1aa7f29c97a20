#pragma once
// The plug-in contract: the one entry every effect library exports, the
// record it takes, the codes it refuses with and the message it finishes with.
#include <windows.h>

#include <cstdint>

namespace plugins {

// Seven 32-bit fields, 28 bytes on the 32-bit platform the plug-ins are built for.
struct EffectParams {
  std::uint32_t size;       // 28; not examined
  std::uint32_t command;    // hosts send kEffectCommand
  std::uint32_t reserved1;  // kept, no effect
  std::uint32_t* status;    // receives a refusal code, written only on refusal
  BITMAPINFOHEADER* image;  // 24-bit packed bitmap, changed in place on OK
  std::uint32_t reserved2;  // kept, no effect
  HWND notifyWindow;        // receives kEffectDoneMessage
};
static_assert(sizeof(void*) != 4 || sizeof(EffectParams) == 28, "the record is 28 bytes");

inline constexpr std::uint32_t kEffectCommand = 0x40000001;

inline constexpr std::uint32_t kStatusNot24Bit = 0x80000011;
inline constexpr std::uint32_t kStatusCommandRefused = 0x82000000;
inline constexpr std::uint32_t kStatusSetupFailed = 0x83000000;

// Sent with both parameters 0 whenever an effect dialog has finished.
inline constexpr UINT kEffectDoneMessage = WM_USER + 200;

}  // namespace plugins

// The one export of every plug-in (undecorated through its .def file).
extern "C" void __stdcall SpecialEffects(plugins::EffectParams* params);
