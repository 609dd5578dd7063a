; Brightsweep setup: installs the program for every user of the machine, with a Start
; Menu shortcut, an uninstaller registered in Add/Remove Programs and, on request, a
; Startup shortcut that cleans silently at log-on.
;
; Built by CMake's "installer" target (see installer/CMakeLists.txt), which passes:
;   VERSION  x.y.z          OUTFILE  path of the setup program to write
;   EXE      brightsweep.exe ICON    program icon       LICENSE  licence text
;   HELP     Tidyvane.hlp    HTMLHELP Tidyvane.chm
;
; Command line, besides NSIS's own /S (silent) and /D=folder:
;   setup.exe /LOGON           also tick "Clean silently when I log on"
;   uninstall.exe /PURGE       also remove the user's stored choices

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define PRODUCT "Brightsweep"
!define COMPANY "Quellmoor Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own stored choices: kept on uninstall unless the user asks.
!define SETTINGS_KEY "Software\Quellmoor Software\Brightsweep"
!define SETTINGS_PARENT "Software\Quellmoor Software"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${COMPANY}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${COMPANY}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_NOAUTOCLOSE

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Without administrator rights nothing can be written to Program Files or the machine's
; list of programs: say so at once instead of failing half-way (740: elevation required).
!macro RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_OK|MB_ICONSTOP "Brightsweep is installed for every user of this computer: installing or removing it needs administrator rights." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=brightsweep.exe" "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  File "/oname=Tidyvane.hlp" "${HELP}"
  File "/oname=Tidyvane.chm" "${HTMLHELP}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\brightsweep.exe" "" \
                 "$INSTDIR\brightsweep.exe" 0 SW_SHOWNORMAL "" "Clean temporary files, recycle bins and broken shortcuts"

  ; A reinstall without the log-on choice must not leave the earlier one behind.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "StartupShortcut"
  ${If} $0 != ""
    Delete "$0"
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "StartupShortcut"
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brightsweep.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Unticked unless chosen on the components page or with /LOGON.
Section /o "Clean silently when I log on" SecLogon
  ; "When I log on": the installing user's own Startup folder, not everyone's.
  SetShellVarContext current
  CreateShortCut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\brightsweep.exe" "/S" \
                 "$INSTDIR\brightsweep.exe" 0 SW_SHOWMINIMIZED "" "Clean silently with the stored choices"
  ; Remember exactly which file was made, so the uninstaller removes that one even when
  ; it runs with another shell context.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "StartupShortcut" "$SMSTARTUP\${PRODUCT}.lnk"
  SetShellVarContext all
SectionEnd

Function .onInit
  !insertmacro RequireAdmin
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/LOGON" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecLogon}
  ${EndIf}
FunctionEnd

Section "un.${PRODUCT}" UnSecProgram
  SectionIn RO
  SetShellVarContext all
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "StartupShortcut"
  ${If} $0 != ""
    Delete "$0"
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; Only the files setup put there (and WinHelp's index of the help file): a folder the
  ; user chose may hold other things, so it is removed only when it ends up empty.
  Delete "$INSTDIR\brightsweep.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Tidyvane.hlp"
  Delete "$INSTDIR\Tidyvane.chm"
  Delete "$INSTDIR\Tidyvane.gid"
  Delete "$INSTDIR\Tidyvane.fts"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my stored choices" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
SectionEnd

Function un.onInit
  !insertmacro RequireAdmin
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/PURGE" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
