; Quendel's installer. makensis gets the build's facts on its command line:
;   -DQUENDEL_CONFIG=<config.nsh written by CMake: version, architecture, icon>
;   -DSTAGE_DIR=<folder holding quendel.exe, README.md, LICENSE> -DOUT_FILE=<setup.exe>
Unicode true
!include "${QUENDEL_CONFIG}"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quendel"

Name "Quendel ${QUENDEL_VERSION}"
OutFile "${OUT_FILE}"
; A user without administrator rights can install for themself; started elevated, the
; installer installs for all users instead (see .onInit).
RequestExecutionLevel user
SetCompressor /SOLID lzma
BrandingText "Quendel ${QUENDEL_VERSION}"
VIProductVersion "${QUENDEL_VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Quendel"
VIAddVersionKey /LANG=0 "ProductVersion" "${QUENDEL_VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${QUENDEL_VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Quendel ${QUENDEL_VERSION} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "The Quendel developers"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT License, The Quendel developers"

!define MUI_ICON "${QUENDEL_ICON}"
!define MUI_UNICON "${QUENDEL_ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\quendel.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE_DIR}\LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

LangString ModeAllUsers ${LANG_GERMAN} "Installation für alle Benutzer"
LangString ModeCurrentUser ${LANG_GERMAN} "Installation für den aktuellen Benutzer"

Var AllUsers

; "/AllUsers" or "/CurrentUser" on the command line choose the mode; otherwise an elevated
; start (the token holds the administrators' group only then) installs for all users.
Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${Else}
    ClearErrors
    ${GetOptions} $0 "/CurrentUser" $1
    ${IfNot} ${Errors}
      StrCpy $AllUsers 0
    ${Else}
      UserInfo::GetAccountType
      Pop $1
      ${If} $1 == "Admin"
        StrCpy $AllUsers 1
      ${Else}
        StrCpy $AllUsers 0
      ${EndIf}
    ${EndIf}
  ${EndIf}
!if "${QUENDEL_ARCH}" == "x86_64"
  SetRegView 64
!endif
  ; /D= on the command line has set $INSTDIR already.
  ${If} $AllUsers == 1
    SetShellVarContext all
    ${If} $INSTDIR == ""
!if "${QUENDEL_ARCH}" == "x86_64"
      StrCpy $INSTDIR "$PROGRAMFILES64\Quendel"
!else
      StrCpy $INSTDIR "$PROGRAMFILES\Quendel"
!endif
    ${EndIf}
  ${Else}
    SetShellVarContext current
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Quendel"
    ${EndIf}
  ${EndIf}
FunctionEnd

!macro WriteUninstallKey ROOT
  WriteRegStr ${ROOT} "${UNINST_KEY}" "DisplayName" "Quendel"
  WriteRegStr ${ROOT} "${UNINST_KEY}" "DisplayVersion" "${QUENDEL_VERSION}"
  WriteRegStr ${ROOT} "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\quendel.exe,0"
  WriteRegStr ${ROOT} "${UNINST_KEY}" "Publisher" "The Quendel developers"
  WriteRegStr ${ROOT} "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr ${ROOT} "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr ${ROOT} "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD ${ROOT} "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD ${ROOT} "${UNINST_KEY}" "NoRepair" 1
  WriteRegDWORD ${ROOT} "${UNINST_KEY}" "EstimatedSize" $0
!macroend

Section "Quendel"
  ${If} $AllUsers == 1
    DetailPrint "$(ModeAllUsers)"
  ${Else}
    DetailPrint "$(ModeCurrentUser)"
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${STAGE_DIR}\quendel.exe"
  File "${STAGE_DIR}\README.md"
  File "${STAGE_DIR}\LICENSE"
  ; The time library for other programs: the DLL, its import libraries and the headers.
  File "${STAGE_DIR}\quendel_time.dll"
  File "${STAGE_DIR}\libquendel_time.dll.a"
  File "${STAGE_DIR}\quendel_time.lib"
  File /r "${STAGE_DIR}\include"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quendel.lnk" "$INSTDIR\quendel.exe" "" "$INSTDIR\quendel.exe" 0
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  ${If} $AllUsers == 1
    !insertmacro WriteUninstallKey HKLM
  ${Else}
    !insertmacro WriteUninstallKey HKCU
  ${EndIf}
SectionEnd

; The uninstaller finds its mode where the installer registered it.
Function un.onInit
!if "${QUENDEL_ARCH}" == "x86_64"
  SetRegView 64
!endif
  ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $AllUsers 1
    SetShellVarContext all
  ${Else}
    StrCpy $AllUsers 0
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; The folder goes last: its disappearance tells a waiting caller that all is done.
Section "Uninstall"
  ${If} $AllUsers == 1
    DeleteRegKey HKLM "${UNINST_KEY}"
  ${Else}
    DeleteRegKey HKCU "${UNINST_KEY}"
  ${EndIf}
  Delete "$SMPROGRAMS\Quendel.lnk"
  Delete "$INSTDIR\quendel.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\quendel_time.dll"
  Delete "$INSTDIR\libquendel_time.dll.a"
  Delete "$INSTDIR\quendel_time.lib"
  RMDir /r "$INSTDIR\include"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
