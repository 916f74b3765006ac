; Orbels Launch's installer: for the current user only, no administrator needed, into
; %LOCALAPPDATA%\Programs\Orbels Launch, because the catalogue (LaunchData.olf) lives next to
; the program and must stay writable. Installing over an older copy replaces the program files
; and never touches the catalogue, its backups or the settings; so does uninstalling, unless
; the user asks for them to go as well.
;
; make-packages.sh passes: VERSION (4.1), VERSION_QUAD (4.1.0.0), PROGRAM_DIR (the staged
; folder with OrbelsLaunch.exe and OrbelsLaunch.chm), ICON, WIZARD_BITMAP and OUT_FILE.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include WinMessages.nsh

!define PRODUCT "Orbels Launch"
!define PUBLISHER "Nettlewick"
!define EXE "OrbelsLaunch.exe"
!define HELP "OrbelsLaunch.chm"
!define UNINSTALLER "uninstall.exe"
!define FRAME_CLASS "OrbelsLaunchFrame"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\Nettlewick\Orbels Launch"
!define START_SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define HELP_SHORTCUT "$SMPROGRAMS\${PRODUCT} Help.lnk"
; How long a running launcher has to save and close before the user is asked again.
!define CLOSE_WAIT_MS 30000

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the last installation went (.onInit), whatever folder is asked for:
; a new folder would get an empty catalogue and leave the user's behind.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

Var UpgradeInPlace
Var RemoveUserData
Var RemoveUserDataCheckbox
Var UninstalledText

;--------------------------------------------------------------------------------------------
; Pages

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; wizard.bmp, drawn by make_wizard_image.py in the style of the program's own pictures.
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD_BITMAP}"
!define MUI_ABORTWARNING
!define MUI_ABORTWARNING_TEXT "Orbels Launch is not installed yet. Do you want to stop?"

!define MUI_WELCOMEPAGE_TITLE "Install Orbels Launch ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Orbels Launch starts The Orbels and The Orbels 2 and keeps your shortcuts to programs and folders in one window.$\r$\n$\r$\nIt is installed for you alone, in a folder of yours, so no administrator is needed.$\r$\n$\r$\nIf Orbels Launch is already installed, it is brought up to date in place: your shortcut catalogue and settings stay as they are. If it is running, it is closed first, and it saves your shortcuts as it closes.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME

!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipDirectoryPageOnUpgrade
!define MUI_DIRECTORYPAGE_TEXT_TOP "Orbels Launch keeps your shortcut catalogue (LaunchData.olf) and its backups in the folder it is installed in, so choose a folder that you can write to. The one below is yours alone. Program Files is not such a folder."
!insertmacro MUI_PAGE_DIRECTORY

!insertmacro MUI_PAGE_INSTFILES

!define MUI_FINISHPAGE_TITLE "Orbels Launch is installed"
!define MUI_FINISHPAGE_TEXT "Orbels Launch is in your Start menu.$\r$\n$\r$\nYour shortcuts are kept in LaunchData.olf, next to the program, and your settings in the registry, for you alone."
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Run Orbels Launch"
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.UserDataPage un.UserDataPageLeave
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Orbels Launch is uninstalled"
!define MUI_FINISHPAGE_TEXT "$UninstalledText"
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright © ${PUBLISHER}"

;--------------------------------------------------------------------------------------------
; An earlier installation that is still there is upgraded in place: no folder page.

Function .onInit
  StrCpy $UpgradeInPlace 0
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${EXE}"
    StrCpy $INSTDIR $0
    StrCpy $UpgradeInPlace 1
  ${EndIf}
FunctionEnd

Function SkipDirectoryPageOnUpgrade
  ${If} $UpgradeInPlace == 1
    Abort
  ${EndIf}
FunctionEnd

;--------------------------------------------------------------------------------------------
; Closing a running launcher the normal way: WM_CLOSE to its main window, so that it saves its
; catalogue and settings, then waiting until its process has ended and let go of its files.
; Only copies running from the installation folder are closed: a copy unzipped elsewhere has
; a catalogue of its own and goes on. In silent mode nobody is asked; a copy that does not
; close in time makes the installation fail (exit code 2) rather than replace files under it.

!macro DEFINE_CLOSE_RUNNING_LAUNCHERS prefix
; $R0: the main window of a launcher running from $INSTDIR, or 0.
; Paths reach System::Call through registers only: inlined into its text, an apostrophe in a
; folder's name (C:\Users\o'brien) would end the argument.
Function ${prefix}FindInstalledLauncher
  StrCpy $R0 0
  StrCpy $1 "$INSTDIR\${EXE}"
  System::Call "kernel32::GetLongPathNameW(w r1, w .r6, i ${NSIS_MAX_STRLEN}) i .r7"
  ${If} $7 == 0
    Return  ; no program there to run
  ${EndIf}
  StrCpy $0 0
  ${Do}
    System::Call "user32::FindWindowExW(p 0, p r0, w '${FRAME_CLASS}', p 0) p .r0"
    ${If} $0 == 0
      Return
    ${EndIf}
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1) i"
    ; PROCESS_QUERY_LIMITED_INFORMATION: enough to read the program's path
    System::Call "kernel32::OpenProcess(i 0x1000, i 0, i r1) p .r2"
    ${If} $2 P<> 0
      System::Call "kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i .r4"
      System::Call "kernel32::CloseHandle(p r2)"
      ${If} $4 <> 0
        System::Call "kernel32::GetLongPathNameW(w r3, w .r3, i ${NSIS_MAX_STRLEN}) i"
        ${If} $3 == $6  ; letter case aside
          StrCpy $R0 $0
          Return
        ${EndIf}
      ${EndIf}
    ${EndIf}
  ${Loop}
FunctionEnd

Function ${prefix}CloseRunningLaunchers
  Call ${prefix}FindInstalledLauncher
  ${If} $R0 == 0
    Return
  ${EndIf}
  ${IfNot} ${Silent}
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Orbels Launch is running and must close first. It saves your shortcuts and settings as it closes.$\r$\n$\r$\nClick OK to close it now." IDOK close
    Abort
  ${EndIf}
  close:
  Call ${prefix}FindInstalledLauncher
  ${If} $R0 == 0
    Return
  ${EndIf}
  StrCpy $0 $R0
  System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1) i"
  ; SYNCHRONIZE: enough to wait for the process
  System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2"
  System::Call "user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0) i"
  ${If} $2 P<> 0
    System::Call "kernel32::WaitForSingleObject(p r2, i ${CLOSE_WAIT_MS}) i .r3"
    System::Call "kernel32::CloseHandle(p r2)"
  ${Else}
    ; No handle to wait on: wait for the window instead.
    StrCpy $3 0
    ${DoWhile} $3 < ${CLOSE_WAIT_MS}
      IsWindow $0 0 closed
      Sleep 100
      IntOp $3 $3 + 100
    ${Loop}
    closed:
    IsWindow $0 +2
    StrCpy $3 0
  ${EndIf}
  ${If} $3 == 0
    Goto close  ; closed (WAIT_OBJECT_0); look for another copy
  ${EndIf}
  ${If} ${Silent}
    SetErrorLevel 2
    Abort
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Orbels Launch has not closed yet. If it shows a message, answer it, then click Retry." IDRETRY close
  Abort
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_LAUNCHERS ""
!insertmacro DEFINE_CLOSE_RUNNING_LAUNCHERS "un."

;--------------------------------------------------------------------------------------------
; Installing and upgrading

Section "Orbels Launch"
  SectionIn RO
  Call CloseRunningLaunchers

  SetOutPath "$INSTDIR"
  ClearErrors
  File "${PROGRAM_DIR}/${EXE}"
  File "${PROGRAM_DIR}/${HELP}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ; A file that could not be written (and was skipped) leaves a mixed installation: say so.
  ${If} ${Errors}
    SetErrorLevel 2
    MessageBox MB_OK|MB_ICONSTOP "Orbels Launch could not write its files to $INSTDIR. Close every program that uses them and run the installer again." /SD IDOK
    Abort
  ${EndIf}

  CreateShortcut "${START_SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "Start The Orbels and your shortcuts to programs and folders"
  CreateShortcut "${HELP_SHORTCUT}" "$INSTDIR\${HELP}" "" "$INSTDIR\${HELP}" 0 SW_SHOWNORMAL "" "Read how Orbels Launch works"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0  ; in KB, the unit Windows expects
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

;--------------------------------------------------------------------------------------------
; Uninstalling. The user's catalogue (LaunchData.olf, a LaunchData.olf.tmp that a save cut
; short left, every LaunchData.olf*.bak, the icon cache LaunchIcons.cache beside it) and the
; settings stay unless the box on the first page is ticked; a silent uninstall keeps them.

Function un.UserDataPage
  !insertmacro MUI_HEADER_TEXT "Uninstall Orbels Launch" "Remove Orbels Launch from this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Orbels Launch will be removed from:$\r$\n$INSTDIR"
  Pop $0
  ${NSD_CreateLabel} 0 32u 100% 36u "Your shortcut catalogue (LaunchData.olf and its backups) and your settings are kept, so that Orbels Launch finds them again if you install it later."
  Pop $0
  ${NSD_CreateCheckbox} 0 76u 100% 12u "Also remove my shortcut catalogue and settings"
  Pop $RemoveUserDataCheckbox
  ${NSD_SetState} $RemoveUserDataCheckbox $RemoveUserData
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
  nsDialogs::Show
FunctionEnd

Function un.UserDataPageLeave
  ${NSD_GetState} $RemoveUserDataCheckbox $RemoveUserData
FunctionEnd

Function un.onInit
  StrCpy $RemoveUserData ${BST_UNCHECKED}
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningLaunchers

  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${HELP}"
  Delete "${START_SHORTCUT}"
  Delete "${HELP_SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; Left only by a launcher that ended with its machine; never the user's data.
  Delete "$INSTDIR\LaunchData.olf.lock"
  ${If} $RemoveUserData == ${BST_CHECKED}
    Delete "$INSTDIR\LaunchData.olf"
    Delete "$INSTDIR\LaunchData.olf.tmp"  ; a save cut short: perhaps the only copy, so only here
    Delete "$INSTDIR\LaunchData.olf.bak"
    Delete "$INSTDIR\LaunchData.olf.*.bak"
    Delete "$INSTDIR\LaunchIcons.cache"
    Delete "$INSTDIR\LaunchIcons.cache.tmp"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Nettlewick"
  ${EndIf}

  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only an empty folder goes: whatever else is in it is the user's.
  RMDir "$INSTDIR"

  ${If} $RemoveUserData == ${BST_CHECKED}
    StrCpy $UninstalledText "Orbels Launch, your shortcut catalogue and your settings have been removed from this computer."
  ${Else}
    StrCpy $UninstalledText "Orbels Launch has been removed from this computer.$\r$\n$\r$\nYour shortcut catalogue is still in $INSTDIR, and your settings are kept. Install Orbels Launch into that folder again and it finds them."
  ${EndIf}
SectionEnd
