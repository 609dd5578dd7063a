; Brightsweep setup. Installs the program either for the current user only, without
; administrator rights (into AppData\Local\Programs, with the user's own Start Menu
; shortcut and Add/Remove Programs entry), or for every user of the machine (into Program
; Files, with the common Start Menu shortcut and the machine's entry; this asks for
; administrator rights). On request it adds a Startup shortcut that cleans silently at
; every log-on.
;
; Built by CMake's "installer" target (see installer/CMakeLists.txt), which passes:
;   VERSION  x.y.z           COPYRIGHT_YEAR  yyyy     OUTFILE  setup program to write
;   EXE      brightsweep.exe ICON    program icon     LICENSE  licence text (CR LF)
;   WIZARD   side picture of the first and last pages (164 x 314)
;   FILES_NSH  macros installing and removing the files that go with the program
;
; Command line, besides NSIS's own /S (silent) and /D=folder (which comes last):
;   setup.exe /CURRENTUSER     install for the current user only
;   setup.exe /ALLUSERS        install for all users (needs administrator rights)
;   setup.exe /LOGON           also tick "Clean silently when I log on"
;   uninstall.exe /PURGE       also remove the user's stored choices
; With neither /CURRENTUSER nor /ALLUSERS, setup installs the way an earlier installation
; was made, else for all users when it runs with administrator rights, else for the
; current user. The uninstaller finds out by itself how it was installed.

Unicode true
SetCompressor /SOLID lzma
; Setup never asks for administrator rights up front: "for me only" needs none, and
; "for all users" starts setup again elevated (see ElevateForAllUsers).
RequestExecutionLevel user
ManifestSupportedOS all

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "nsDialogs.nsh"
!include "${FILES_NSH}"

!define PRODUCT "Brightsweep"
!define COMPANY "Quellmoor Software"
; Under HKLM for an installation for all users, under HKCU for one for the current user
; (SHCTX follows SetShellVarContext).
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The program's own stored choices: kept on uninstall unless the user asks.
!define SETTINGS_KEY "Software\Quellmoor Software\Brightsweep"
!define SETTINGS_PARENT "Software\Quellmoor Software"
!define ERROR_ELEVATION_REQUIRED 740

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${COMPANY}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright © ${COPYRIGHT_YEAR} ${COMPANY}"

; "AllUsers" or "CurrentUser".
Var InstallMode
; What /D= asked for, if anything: it wins over every default folder.
Var CommandLineDir
; Set in the copy of setup that ElevateForAllUsers started: the user has been through
; the first pages already.
Var Elevated
Var ModeAllUsers
Var ModeCurrentUser

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_NOAUTOCLOSE

!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenElevated
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenElevated
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
Page custom InstallModePage InstallModeLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "&Start Brightsweep now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; --- sections ---

Section "${PRODUCT}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=brightsweep.exe" "${EXE}"
  !insertmacro InstallCompanionFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; $SMPROGRAMS is the common Start Menu for all users, the user's own otherwise.
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\brightsweep.exe" "" \
                 "$INSTDIR\brightsweep.exe" 0 SW_SHOWNORMAL "" "Clean temporary files, recycle bins and broken shortcuts"

  ; A reinstall without the log-on choice must not leave the earlier one behind.
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "StartupShortcut"
  ${If} $0 != ""
    Delete "$0"
    DeleteRegValue SHCTX "${UNINSTALL_KEY}" "StartupShortcut"
  ${EndIf}

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brightsweep.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Unticked unless chosen on the components page or with /LOGON.
Section /o "Clean silently when I log on" SecLogon
  ; "When I log on": the installing user's own Startup folder, in either install mode.
  ${If} $InstallMode == "AllUsers"
    SetShellVarContext current
  ${EndIf}
  CreateShortCut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\brightsweep.exe" "/S" \
                 "$INSTDIR\brightsweep.exe" 0 SW_SHOWMINIMIZED "" "Clean silently with the stored choices"
  StrCpy $0 "$SMSTARTUP\${PRODUCT}.lnk"
  ${If} $InstallMode == "AllUsers"
    SetShellVarContext all
  ${EndIf}
  ; Remember exactly which file was made, so the uninstaller removes that one.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "StartupShortcut" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The program, its help, README and licence, a Start Menu shortcut and an uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecLogon} "At every log-on Brightsweep deletes what your stored choices name: silently, without asking."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; --- install mode ---

; $0: "Admin" when this process may write to Program Files and HKLM (an elevated token,
; or an administrator without UAC), anything else otherwise.
!macro AccountType
  UserInfo::GetAccountType
  Pop $0
!macroend

Function UseAllUsers
  StrCpy $InstallMode "AllUsers"
  SetShellVarContext all
  StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} $CommandLineDir != ""
    StrCpy $INSTDIR $CommandLineDir
  ${EndIf}
FunctionEnd

Function UseCurrentUser
  StrCpy $InstallMode "CurrentUser"
  SetShellVarContext current
  StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} $CommandLineDir != ""
    StrCpy $INSTDIR $CommandLineDir
  ${EndIf}
FunctionEnd

; Starts this setup program again with administrator rights (Windows asks the user) for
; an installation for all users, and ends this one. Without rights given it returns.
Function ElevateForAllUsers
  StrCpy $1 "/ALLUSERS /ELEVATED"
  ${If} ${SectionIsSelected} ${SecLogon}
    StrCpy $1 "$1 /LOGON"
  ${EndIf}
  ${If} $CommandLineDir != ""
    StrCpy $1 "$1 /D=$CommandLineDir"
  ${EndIf}
  ClearErrors
  ExecShell "runas" "$EXEPATH" $1
  ${IfNot} ${Errors}
    Quit
  ${EndIf}
FunctionEnd

Function InstallModePage
  ${If} $Elevated == "1"
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Choose Users" "Choose who can use ${PRODUCT} on this computer."
  ; $LOCALAPPDATA follows the shell context: the user's own folder is wanted here.
  SetShellVarContext current
  StrCpy $1 "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${If} $InstallMode == "AllUsers"
    SetShellVarContext all
  ${EndIf}
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Install ${PRODUCT} for yourself alone, in your own folders, or for everyone who uses this computer."
  Pop $0
  ${NSD_CreateRadioButton} 10u 32u -10u 12u "For &me only"
  Pop $ModeCurrentUser
  ${NSD_CreateLabel} 22u 45u -22u 20u "Into $1. No administrator rights needed."
  Pop $0
  ${NSD_CreateRadioButton} 10u 72u -10u 12u "For &all users of this computer"
  Pop $ModeAllUsers
  ${NSD_CreateLabel} 22u 85u -22u 20u "Into $PROGRAMFILES\${PRODUCT}. Needs administrator rights."
  Pop $0
  ${If} $InstallMode == "AllUsers"
    ${NSD_Check} $ModeAllUsers
  ${Else}
    ${NSD_Check} $ModeCurrentUser
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function InstallModeLeave
  ${NSD_GetState} $ModeAllUsers $0
  ${If} $0 == ${BST_CHECKED}
    !insertmacro AccountType
    ${If} $0 != "Admin"
      Call ElevateForAllUsers
      MessageBox MB_OK|MB_ICONEXCLAMATION "Without administrator rights ${PRODUCT} can only be installed for you."
      Abort
    ${EndIf}
    Call UseAllUsers
  ${Else}
    Call UseCurrentUser
  ${EndIf}
FunctionEnd

Function SkipWhenElevated
  ${If} $Elevated == "1"
    Abort
  ${EndIf}
FunctionEnd

; The finish page's "Start Brightsweep now". An elevated setup would hand its rights on
; to the program; Explorer, which runs as the logged-on user, starts it instead. Windows
; keeps explorer.exe in the Windows folder, Wine in System32.
Function StartProgram
  !insertmacro AccountType
  ${If} $0 == "Admin"
    StrCpy $1 "$WINDIR\explorer.exe"
    ${IfNot} ${FileExists} $1
      StrCpy $1 "$SYSDIR\explorer.exe"
    ${EndIf}
    ClearErrors
    Exec '"$1" "$INSTDIR\brightsweep.exe"'
    ${IfNot} ${Errors}
      Return
    ${EndIf}
  ${EndIf}
  Exec '"$INSTDIR\brightsweep.exe"'
FunctionEnd

Function .onInit
  ; /D= has set $INSTDIR already; nothing else has.
  StrCpy $CommandLineDir $INSTDIR
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ELEVATED" $R1
  ${IfNot} ${Errors}
    StrCpy $Elevated "1"
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/LOGON" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecLogon}
  ${EndIf}

  !insertmacro AccountType
  StrCpy $R2 $0
  ; The mode asked for, else that of an earlier installation, else what the rights allow.
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    ${If} $R2 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} for all users needs administrator rights." /SD IDOK
      SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    Call UseAllUsers
    Return
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${IfNot} ${Errors}
    Call UseCurrentUser
    Return
  ${EndIf}
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $R2 == "Admin"
    Call UseAllUsers
  ${ElseIf} $1 != ""
    Call UseCurrentUser
  ${ElseIf} $R2 == "Admin"
    Call UseAllUsers
  ${ElseIf} $0 != ""
    ; An update of an installation for all users: interactive, the next page asks for
    ; the rights; silent, there is no one to ask.
    ${If} ${Silent}
      SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    Call UseAllUsers
  ${Else}
    Call UseCurrentUser
  ${EndIf}
FunctionEnd

; --- uninstaller ---

Section "un.${PRODUCT}" UnSecProgram
  SectionIn RO
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "StartupShortcut"
  ${If} $0 != ""
    Delete "$0"
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  ; Only the files setup put there: a folder the user chose may hold other things, so it
  ; is removed only when it ends up empty.
  Delete "$INSTDIR\brightsweep.exe"
  !insertmacro RemoveCompanionFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ${If} $InstallMode == "CurrentUser"
    ; Made by setup when this was the first program installed this way.
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}

  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my stored choices" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "The program and everything setup installed with it."
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecSettings} "Also deletes your ticks and your list of folders from the registry."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/PURGE" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}

  ; How this copy was installed: the entry whose folder is this one.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $InstallMode "CurrentUser"
    SetShellVarContext current
    Return
  ${EndIf}
  StrCpy $InstallMode "AllUsers"
  SetShellVarContext all
  !insertmacro AccountType
  ${If} $0 != "Admin"
    ; Only with administrator rights; interactive, Windows asks for them.
    ${IfNot} ${Silent}
      ClearErrors
      ExecShell "runas" "$INSTDIR\uninstall.exe" $R0
      ${IfNot} ${Errors}
        Quit
      ${EndIf}
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} was installed for all users: removing it needs administrator rights." /SD IDOK
    SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
FunctionEnd
