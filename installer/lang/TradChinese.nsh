; 安裝程式自己的繁體中文文字與 Lumora-Setup.exe 的版本資訊。
LangString ProgramRunning ${LANG_TRADCHINESE} "Lumora 正在執行。請關閉 Lumora 後再試一次。"
LangString FilesNotWritten ${LANG_TRADCHINESE} "有些檔案無法寫入 $INSTDIR。Lumora 未完整安裝，請重新執行安裝程式。"
LangString StartMenuShortcut ${LANG_TRADCHINESE} "啟動 Lumora：即時影像、相片、影片與相簿"

VIAddVersionKey /LANG=${LANG_TRADCHINESE} "ProductName" "Lumora"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "FileDescription" "Lumora 安裝程式"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "InternalName" "Lumora-Setup"
VIAddVersionKey /LANG=${LANG_TRADCHINESE} "OriginalFilename" "Lumora-Setup.exe"
