#pragma once
// The printer of the tests: Wine's PostScript driver with an A4 page at
// 600 dpi whose printable area is the whole sheet, printing into a file.
// Installed into the prefix (once; later calls find it) and made the
// default printer.
#include <windows.h>

#include <winspool.h>

#include <fstream>
#include <string>

namespace testing_win {

inline constexpr wchar_t kTestPrinter[] = L"Lumora Test Printer";

// A small PostScript printer description: colour, 600 dpi, A4 only.
inline constexpr char kTestPrinterPpd[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"LUMORA.PPD\"\n"
    "*Manufacturer: \"Lumora\"\n"
    "*Product: \"(Lumora Test Printer)\"\n"
    "*ModelName: \"Lumora Test Printer\"\n"
    "*ShortNickName: \"Lumora Test Printer\"\n"
    "*NickName: \"Lumora Test Printer\"\n"
    "*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n"
    "*ColorDevice: True\n"
    "*DefaultColorSpace: RGB\n"
    "*FileSystem: False\n"
    "*Throughput: \"1\"\n"
    "*LandscapeOrientation: Plus90\n"
    "*TTRasterizer: Type42\n"
    "*DefaultResolution: 600dpi\n"
    "*OpenUI *PageSize/Media Size: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageSize\n"
    "*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n"
    "*OpenUI *PageRegion: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageRegion\n"
    "*DefaultPageRegion: A4\n"
    "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageRegion\n"
    "*DefaultImageableArea: A4\n"
    "*ImageableArea A4/A4: \"0 0 595 842\"\n"
    "*DefaultPaperDimension: A4\n"
    "*PaperDimension A4/A4: \"595 842\"\n";

// Installs the printer with `port` (a file the spooler writes, "FILE:" or
// a Unix path) and makes it the default; true when it is there.
inline bool InstallTestPrinter(const std::wstring& port) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring ppd = std::wstring(temp) + L"lumora-test-printer.ppd";
  std::ofstream(ppd.c_str(), std::ios::binary) << kTestPrinterPpd;
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<wchar_t*>(kTestPrinter);
  driver.pEnvironment = const_cast<wchar_t*>(L"Windows NT x86");
  driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
  driver.pDataFile = const_cast<wchar_t*>(ppd.c_str());
  driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
  driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
  if (!::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                             APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY)) {
    return false;
  }
  HANDLE existing = nullptr;
  if (::OpenPrinterW(const_cast<wchar_t*>(kTestPrinter), &existing, nullptr)) {
    ::ClosePrinter(existing);
  } else {
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<wchar_t*>(kTestPrinter);
    info.pPortName = const_cast<wchar_t*>(port.c_str());
    info.pDriverName = const_cast<wchar_t*>(kTestPrinter);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer) return false;
    ::ClosePrinter(printer);
  }
  return ::SetDefaultPrinterW(kTestPrinter) != FALSE;
}

}  // namespace testing_win
