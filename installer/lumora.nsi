; Lumora-Setup.exe: puts the program, its effect plug-ins, its picture
; library, its help files and the driver remover into one program folder, the
; video compressor into the system folder with its Drivers32 registration,
; shortcuts in the Start menu and on the desktop, and an entry with an
; uninstaller in the list of installed programs. The uninstaller takes back
; exactly that and nothing the user made: albums and settings.ini stay.
;
; The build runs makensis with
;   VERSION      the project's version number (1.0.0)
;   BIN_DIR      the folder the build writes the binaries and help files to
;   OUT_FILE     the set-up program to write
;   VIDEO_CODEC  the video compressor's file name in BIN_DIR; without it the
;                compressor is neither installed nor registered

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!ifndef VERSION | BIN_DIR | OUT_FILE
  !error "makensis needs -DVERSION=, -DBIN_DIR= and -DOUT_FILE="
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumora"
!define UNINSTALLER "uninstall.exe"
; The program's single-instance mutex: while it exists Lumora is running and
; its files are in use.
!define PROGRAM_MUTEX "NORVEX"
; The codec service looks compressors up by "vidc." and the FOURCC.
!define DRIVERS32_KEY "Software\Microsoft\Windows NT\CurrentVersion\Drivers32"
!define CODEC_VALUE "vidc.mjpg"
; Where a driver that held CODEC_VALUE before is kept until the removal gives
; it back.
!define PREVIOUS_CODEC "PreviousVideoCompressor"

Name "Lumora"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\Lumora"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Lumora ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
; The version texts are those of the program's own binaries, which name no
; copyright holder.
!pragma warning disable 9100

!define MUI_ICON "../src/res/art/lumora.ico"
!define MUI_UNICON "../src/res/art/lumora.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one for users of any other language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "TradChinese"
!insertmacro MUI_LANGUAGE "SimpChinese"
!include /CHARSET=UTF8 "lang/English.nsh"
!include /CHARSET=UTF8 "lang/TradChinese.nsh"
!include /CHARSET=UTF8 "lang/SimpChinese.nsh"

; The program folder's files, one line each; the set-up copies them and the
; uninstaller removes them, so both always name the same files.
!macro ProgramFolderFiles _action
  !insertmacro ${_action} "Lumora.exe"
  !insertmacro ${_action} "litefx.dll"
  !insertmacro ${_action} "tonefx.dll"
  !insertmacro ${_action} "edgefx.dll"
  !insertmacro ${_action} "tilefx.dll"
  !insertmacro ${_action} "warpfx.dll"
  !insertmacro ${_action} "ZImgLoad.dll"
  !insertmacro ${_action} "LumoraHelp.chm"
  !insertmacro ${_action} "LumoraHelpTC.chm"
  !insertmacro ${_action} "LumoraHelpSC.chm"
  ; The driver remover; the device-removal program it runs comes with the
  ; camera's driver package.
  !insertmacro ${_action} "camclean.exe"
!macroend

!macro CopyFile _name
  File "${BIN_DIR}/${_name}"
!macroend

!macro RemoveFile _name
  Delete "$INSTDIR\${_name}"
!macroend

; Ends the set-up or the removal while Lumora runs: its files cannot be
; replaced or removed then.
!macro RefuseWhileProgramRuns
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${PROGRAM_MUTEX}") i .r0'
  ${If} $0 <> 0
    System::Call 'kernel32::CloseHandle(i r0)'
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDOK
    Abort
  ${EndIf}
!macroend

; Ends the set-up when something could not be written: a file skipped after
; its error box, or a registry value, leaves the error flag set.
!macro AbortOnErrors
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(FilesNotWritten)" /SD IDOK
    Abort
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileProgramRuns
FunctionEnd

Function un.onInit
  !insertmacro RefuseWhileProgramRuns
FunctionEnd

!ifdef VIDEO_CODEC
; The compressor goes to the system folder: the codec service opens it by the
; file name in its Drivers32 value, and a path with a blank in it does not
; open. A driver registered for the same FOURCC before is kept for the removal.
Function InstallVideoCodec
  SetOutPath "$SYSDIR"
  File "${BIN_DIR}/${VIDEO_CODEC}"
  !insertmacro AbortOnErrors
  ReadRegStr $0 HKLM "${DRIVERS32_KEY}" "${CODEC_VALUE}"
  ClearErrors
  ${If} $0 != ""
  ${AndIf} $0 != "${VIDEO_CODEC}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "${PREVIOUS_CODEC}" "$0"
  ${EndIf}
  WriteRegStr HKLM "${DRIVERS32_KEY}" "${CODEC_VALUE}" "${VIDEO_CODEC}"
  !insertmacro AbortOnErrors
FunctionEnd

; Gives the FOURCC back to the driver that had it, or frees it; a value that
; names another driver by now is left alone.
Function un.RemoveVideoCodec
  ReadRegStr $0 HKLM "${DRIVERS32_KEY}" "${CODEC_VALUE}"
  ${If} $0 == "${VIDEO_CODEC}"
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "${PREVIOUS_CODEC}"
    ${If} $1 != ""
      WriteRegStr HKLM "${DRIVERS32_KEY}" "${CODEC_VALUE}" "$1"
    ${Else}
      DeleteRegValue HKLM "${DRIVERS32_KEY}" "${CODEC_VALUE}"
    ${EndIf}
  ${EndIf}
  ; A program that still has the compressor open keeps it until a restart.
  Delete /REBOOTOK "$SYSDIR\${VIDEO_CODEC}"
FunctionEnd
!endif

Section "Lumora"
  SectionIn RO
  SetShellVarContext all
  ClearErrors
  SetOutPath "$INSTDIR"
  !insertmacro ProgramFolderFiles CopyFile
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  !insertmacro AbortOnErrors
!ifdef VIDEO_CODEC
  Call InstallVideoCodec
!endif

  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Lumora.lnk" "$INSTDIR\Lumora.exe" "" "" 0 SW_SHOWNORMAL "" \
    "$(StartMenuShortcut)"
  CreateShortcut "$DESKTOP\Lumora.lnk" "$INSTDIR\Lumora.exe" "" "" 0 SW_SHOWNORMAL "" \
    "$(StartMenuShortcut)"

  ; The entry in the installed-programs list comes last: it stands for a
  ; complete installation.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Lumora"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumora.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$DESKTOP\Lumora.lnk"
  Delete "$SMPROGRAMS\Lumora.lnk"
  !insertmacro ProgramFolderFiles RemoveFile
!ifdef VIDEO_CODEC
  Call un.RemoveVideoCodec
!endif
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only an empty folder goes: whatever else the user keeps there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
