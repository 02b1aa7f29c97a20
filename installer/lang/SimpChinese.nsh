; 安装程序自己的简体中文文字与 Lumora-Setup.exe 的版本信息。
LangString ProgramRunning ${LANG_SIMPCHINESE} "Lumora 正在运行。请关闭 Lumora 后再试一次。"
LangString FilesNotWritten ${LANG_SIMPCHINESE} "有些文件无法写入 $INSTDIR。Lumora 未完整安装，请重新运行安装程序。"
LangString StartMenuShortcut ${LANG_SIMPCHINESE} "启动 Lumora：实时视频、照片、视频短片与相册"

VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "Lumora"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "Lumora 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "InternalName" "Lumora-Setup"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "OriginalFilename" "Lumora-Setup.exe"
