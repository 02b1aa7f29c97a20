; The set-up program's own English texts and the version information of
; Lumora-Setup.exe (the page texts come with NSIS's modern interface).
LangString ProgramRunning ${LANG_ENGLISH} "Lumora is running. Close Lumora, then try again."
LangString FilesNotWritten ${LANG_ENGLISH} "Some files could not be written to $INSTDIR. Lumora is not installed completely; run the setup again."
LangString StartMenuShortcut ${LANG_ENGLISH} "Start Lumora: live video, stills, clips and albums"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Lumora"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Lumora Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "InternalName" "Lumora-Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "OriginalFilename" "Lumora-Setup.exe"
