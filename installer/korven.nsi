; Setup of the KORVEN Control Panel: korven.exe into Program Files, started at every sign-in
; for every user, a Start menu shortcut and an entry in the system's list of programs; and its
; uninstaller. It knows the program only from outside: its file, its window and Exit command.
;
;   makensis -DKORVEN_VERSION=1.5.1 -DKORVEN_EXE=korven.exe -DKORVEN_ICON=icon.ico
;            -DOUTFILE=KORVEN-1.5.1-setup.exe korven.nsi
;
; Silent mode (/S) shows nothing: what happened is in %TEMP%\KORVEN-setup.log (and
; KORVEN-uninstall.log), and the exit code tells the outcome:
;   0 done, 1 cancelled, 3 another KORVEN Setup is running, 4 the folder cannot be written,
;   5 KORVEN did not end in time (nothing changed), 6 (uninstall) nothing installed there.

Unicode true
ManifestSupportedOS all
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define PRODUCT "KORVEN Control Panel"
!define EXE "korven.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "KORVEN Control Panel.lnk"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "KORVEN"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KORVEN"
!define SETUP_MUTEX "Global\TALVOR.KORVEN.Setup"
; The program's main window and its tray menu's Exit: the exit that resets the device.
!define KORVEN_WINDOW_CLASS "#32770"
!define KORVEN_WINDOW_CAPTION "KORVEN: Control Panel"
!define KORVEN_EXIT_COMMAND 32771
!define KORVEN_EXIT_WAIT_SECONDS 10
!define /math KORVEN_EXIT_WAIT_MS ${KORVEN_EXIT_WAIT_SECONDS} * 1000
!define /math KORVEN_EXIT_POLLS ${KORVEN_EXIT_WAIT_SECONDS} * 10

!define EXIT_CANCELLED 1
!define EXIT_SETUP_RUNNING 3
!define EXIT_FOLDER_NOT_WRITABLE 4
!define EXIT_STILL_RUNNING 5
!define EXIT_NOT_INSTALLED 6

Name "${PRODUCT}"
Caption "${PRODUCT} ${KORVEN_VERSION} Setup"
UninstallCaption "${PRODUCT} Uninstall"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\TALVOR\KORVEN"
; A new version goes where the last one went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "TALVOR"
ShowInstDetails show
ShowUninstDetails show
AllowSkipFiles off

VIProductVersion "${KORVEN_VERSION}.0"
VIFileVersion "${KORVEN_VERSION}.0"

Var Log             ; the log's handle (append only), closed when the process ends
Var LogName
Var FinishText      ; the finish page's text: done, and what is still missing
Var MadeFolder      ; 1 when the folder check made $INSTDIR (it removes it again)
Var MadeParent      ; 1 when it also made $INSTDIR's parent
Var Requested       ; the folder given with /D=, if any

!define MUI_ICON "${KORVEN_ICON}"
!define MUI_UNICON "${KORVEN_ICON}"
!define MUI_CUSTOMFUNCTION_ABORT SetupCancelled
!define MUI_CUSTOMFUNCTION_UNABORT un.SetupCancelled

!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start KORVEN now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartKorvenAsUser
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "KORVEN"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "TALVOR"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${KORVEN_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${KORVEN_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright 2002 TALVOR Corporation. All rights reserved."

; A line in the log and in the details list.
!macro LOG text
  FileWrite $Log "${text}$\r$\n"
  DetailPrint "${text}"
!macroend
!define Log "!insertmacro LOG"

; Tell the user (a message box, none in silent mode), log it, end with CODE. Only before
; anything was changed.
!macro GIVE_UP code text
  ${Log} "${text}"
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel ${code}
!macroend
!define GiveUp "!insertmacro GIVE_UP"

; Functions both programs need (an uninstaller's own carry the prefix "un.").
!macro SHARED_FUNCTIONS un
  ; The log, shared: a second setup adds why it gave up, and every line goes to the end.
  Function ${un}OpenLog
    ; SYNCHRONIZE | FILE_APPEND_DATA, shared for reading and writing, OPEN_ALWAYS
    System::Call 'kernel32::CreateFileW(w "$TEMP\$LogName", i 0x00100004, i 3, p 0, i 4, i 0x80, p 0) p .s'
    Pop $Log
  FunctionEnd

  ; One setup or uninstall at a time; the other one is told and ends without a change.
  ; $0 = 1 when this one may go on.
  Function ${un}HoldSetupMutex
    System::Call 'kernel32::CreateMutexW(p 0, i 1, w "${SETUP_MUTEX}") p .r1 ?e'
    Pop $2
    ${If} $1 P<> 0
    ${AndIf} $2 <> 183  ; ERROR_ALREADY_EXISTS
      StrCpy $0 1
      Delete "$TEMP\$LogName"
      Call ${un}OpenLog
      Return
    ${EndIf}
    StrCpy $0 0
    Call ${un}OpenLog
    ${GiveUp} ${EXIT_SETUP_RUNNING} "Another KORVEN Setup or Uninstall is running. Wait until it has finished, then try again."
  FunctionEnd

  ; Ends a running KORVEN through its own Exit, which resets the device and closes the
  ; remote-control monitor, and waits for its process to end; never kills it.
  ; $0 = 1 when no KORVEN runs (any more), 0 when it did not end in time.
  Function ${un}EndRunningKorven
    StrCpy $0 1
    FindWindow $1 "${KORVEN_WINDOW_CLASS}" "${KORVEN_WINDOW_CAPTION}"
    ${If} $1 = 0
      Return
    ${EndIf}
    ${Log} "KORVEN is running: ending it through its Exit command."
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3'  ; SYNCHRONIZE
    System::Call 'user32::PostMessageW(p r1, i ${WM_COMMAND}, p ${KORVEN_EXIT_COMMAND}, p 0)'
    ${If} $3 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r3, i ${KORVEN_EXIT_WAIT_MS}) i .r4'
      System::Call 'kernel32::CloseHandle(p r3)'
      ${If} $4 <> 0
        StrCpy $0 0
      ${EndIf}
    ${Else}
      ; Its process cannot be waited on: wait for its window instead.
      StrCpy $0 0
      ${For} $4 1 ${KORVEN_EXIT_POLLS}
        Sleep 100
        FindWindow $1 "${KORVEN_WINDOW_CLASS}" "${KORVEN_WINDOW_CAPTION}"
        ${If} $1 = 0
          StrCpy $0 1
          ${Break}
        ${EndIf}
      ${Next}
    ${EndIf}
  FunctionEnd

  ; EndRunningKorven, and when KORVEN does not end in time the user may try again (or not).
  ; $0 = 1 when no KORVEN runs, 0 (after the message) when it still does.
  Function ${un}EndKorvenOrGiveUp
    ${Do}
      Call ${un}EndRunningKorven
      ${If} $0 = 1
        Return
      ${EndIf}
      ${Log} "KORVEN did not end within ${KORVEN_EXIT_WAIT_SECONDS} seconds."
      ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "KORVEN did not end within ${KORVEN_EXIT_WAIT_SECONDS} seconds.$\r$\n$\r$\nChoose Exit in its menu in the notification area, then Retry." /SD IDCANCEL IDRETRY`
        ${Break}
      ${EndIf}
    ${Loop}
    ${GiveUp} ${EXIT_STILL_RUNNING} "KORVEN is still running, so nothing was changed. End it with Exit in its tray menu and run this again."
  FunctionEnd
!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Function .onInit
  SetRegView 32
  SetShellVarContext all
  StrCpy $LogName "KORVEN-setup.log"
  Call HoldSetupMutex
  ${If} $0 = 0
    Quit
  ${EndIf}
  ${Log} "${PRODUCT} ${KORVEN_VERSION} Setup"
  ; The folder of /D= (always the last option). NSIS quietly takes the default folder instead
  ; of one it finds unusable; Setup must not install where it was not asked to.
  StrCpy $Requested ""
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrLen $1 $0
  ${For} $2 0 $1
    StrCpy $3 $0 4 $2
    ${If} $3 S== " /D="
      IntOp $2 $2 + 4
      StrCpy $Requested $0 "" $2
      StrCpy $3 $Requested 1 -1
      ${If} $3 == "\"
        StrCpy $Requested $Requested -1
      ${EndIf}
      ${Break}
    ${EndIf}
  ${Next}
FunctionEnd

; Can Setup write into $INSTDIR? Makes it when missing and removes again what it made, so a
; check leaves nothing behind. $0 = 1 when it can.
Function CheckFolder
  StrCpy $0 0
  StrCpy $MadeFolder 0
  StrCpy $MadeParent 0
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    ${IfNot} ${FileExists} "$INSTDIR\..\*.*"
      StrCpy $MadeParent 1
    ${EndIf}
    ClearErrors
    CreateDirectory "$INSTDIR"
    ${If} ${Errors}
      StrCpy $MadeParent 0
      Return
    ${EndIf}
    StrCpy $MadeFolder 1
  ${EndIf}
  ClearErrors
  FileOpen $1 "$INSTDIR\korven-setup.tmp" w
  ${IfNot} ${Errors}
    FileClose $1
    Delete "$INSTDIR\korven-setup.tmp"
    StrCpy $0 1
  ${EndIf}
  Call RemoveMadeFolders
FunctionEnd

Function RemoveMadeFolders
  ${If} $MadeFolder = 1
    RMDir "$INSTDIR"
  ${EndIf}
  ${If} $MadeParent = 1
    RMDir "$INSTDIR\.."
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call CheckFolder
  ${If} $0 = 0
    MessageBox MB_OK|MB_ICONSTOP "Setup cannot write to the folder$\r$\n$INSTDIR$\r$\n$\r$\nChoose another folder."
    Abort
  ${EndIf}
FunctionEnd

Section "KORVEN"
  ${If} $Requested != ""
  ${AndIf} $Requested != $INSTDIR
    ${GiveUp} ${EXIT_FOLDER_NOT_WRITABLE} "Setup cannot write to the folder $Requested, so nothing was installed. Choose another folder (/D=)."
    Abort
  ${EndIf}
  Call CheckFolder
  ${If} $0 = 0
    ${GiveUp} ${EXIT_FOLDER_NOT_WRITABLE} "Setup cannot write to the folder $INSTDIR, so nothing was installed. Choose another folder (/D=)."
    Abort
  ${EndIf}
  Call EndKorvenOrGiveUp
  ${If} $0 = 0
    Abort
  ${EndIf}

  ; The new korven.exe goes in beside the old one first: a failed swap keeps the old one whole.
  SetOutPath "$INSTDIR"
  ClearErrors
  File "/oname=${EXE}.new" "${KORVEN_EXE}"
  ${If} ${Errors}
    Delete "$INSTDIR\${EXE}.new"
    Call RemoveMadeFolders
    ${GiveUp} ${EXIT_FOLDER_NOT_WRITABLE} "Setup cannot write $INSTDIR\${EXE}, so nothing was installed."
    Abort
  ${EndIf}
  ClearErrors
  Delete "$INSTDIR\${EXE}"
  ${If} ${Errors}
    Delete "$INSTDIR\${EXE}.new"
    ${GiveUp} ${EXIT_STILL_RUNNING} "$INSTDIR\${EXE} is in use (KORVEN runs for another user?), so nothing was changed. End it and run Setup again."
    Abort
  ${EndIf}
  Rename "$INSTDIR\${EXE}.new" "$INSTDIR\${EXE}"
  ${Log} "Installed $INSTDIR\${EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${Log} "Installed $INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}"'
  ${Log} "Starts at sign-in: HKLM\${RUN_KEY}\${RUN_VALUE}"
  CreateShortCut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
  ${Log} "Shortcut: $SMPROGRAMS\${SHORTCUT}"

  ; The entry in the system's list of programs; its size in KB, rounded up.
  FileOpen $1 "$INSTDIR\${EXE}" r
  FileSeek $1 0 END $2
  FileClose $1
  FileOpen $1 "$INSTDIR\${UNINSTALLER}" r
  FileSeek $1 0 END $3
  FileClose $1
  IntOp $2 $2 + $3
  IntOp $2 $2 + 1023
  IntOp $2 $2 / 1024
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${KORVEN_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "TALVOR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${Log} "Uninstall entry: HKLM\${UNINSTALL_KEY}"

  ; The device's libraries come with its driver package, not from here.
  StrCpy $FinishText "${PRODUCT} has been installed. It starts at every sign-in and sits in the notification area."
  StrCpy $1 ""
  ${IfNot} ${FileExists} "$INSTDIR\Zelfilter.dll"
    StrCpy $1 '"Zelfilter.dll"'
  ${EndIf}
  ${IfNot} ${FileExists} "$INSTDIR\hidrctrl.dll"
    ${If} $1 == ""
      StrCpy $1 '"hidrctrl.dll"'
    ${Else}
      StrCpy $1 '$1 and "hidrctrl.dll"'
    ${EndIf}
  ${EndIf}
  ${If} $1 != ""
    ${Log} "The device's libraries $1 are not in $INSTDIR. They come with the KORVEN driver package: install it into this folder. Until then KORVEN cannot use the device."
    StrCpy $FinishText "$FinishText$\r$\n$\r$\nThe device's libraries $1 are not in this folder. Install the KORVEN driver package into it: until then KORVEN cannot use the device."
  ${EndIf}
  ${Log} "KORVEN ${KORVEN_VERSION} is installed in $INSTDIR."
SectionEnd

Function SetupCancelled
  ${Log} "Cancelled."
  SetErrorLevel ${EXIT_CANCELLED}
FunctionEnd

; Setup runs elevated, and so would every program it started itself; an elevated KORVEN
; keeps its settings somewhere else than every later start at sign-in. So the desktop's own
; shell starts it, as the user who owns the desktop: its dispatch object, reached from the
; desktop window in the shell's window list, does the ShellExecute. When there is no such
; shell, nothing is started and the user is told where KORVEN is.
!define CLSID_ShellWindows "{9BA05972-F6A8-11CF-A442-00A0C90A8F39}"
!define IID_IShellWindows "{85CB6900-4D95-11CF-960C-0080C7F4EE85}"
!define IID_IServiceProvider "{6D5140C1-7436-11CE-8034-00AA006009FA}"
!define SID_STopLevelBrowser "{4C96BE40-915C-11CF-99D3-00AA004AE837}"
!define IID_IShellBrowser "{000214E2-0000-0000-C000-000000000046}"
!define IID_IDispatch "{00020400-0000-0000-C000-000000000046}"
!define IID_IShellFolderViewDual "{E7A1AF80-4D96-11CF-960C-0080C7F4EE85}"
!define IID_IShellDispatch2 "{A4C6892C-3BA9-11D2-9DEA-00C04FB16162}"
!macro RELEASE interface
  ${If} ${interface} P<> 0
    System::Call '${interface}->2()'
  ${EndIf}
!macroend
; $R0 ... $R8: the interfaces on the way, released at the end. $0: the last HRESULT.
Function StartKorvenAsUser
  StrCpy $R0 0
  StrCpy $R1 0
  StrCpy $R2 0
  StrCpy $R3 0
  StrCpy $R4 0
  StrCpy $R5 0
  StrCpy $R6 0
  StrCpy $R7 0
  StrCpy $R8 0
  System::Call 'ole32::CoCreateInstance(g "${CLSID_ShellWindows}", p 0, i 4, g "${IID_IShellWindows}", *p .R0) i .r0'  ; CLSCTX_LOCAL_SERVER
  ${If} $0 = 0
    ; FindWindowSW(CSIDL_DESKTOP as VT_I4, VT_EMPTY, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, &dispatch)
    System::Call '*(i 3, i 0, i 0, i 0) p .r8'
    System::Call '*(i 0, i 0, i 0, i 0) p .r9'
    System::Call '$R0->15(p r8, p r9, i 8, *i .r7, i 1, *p .R1) i .r0'
    System::Free $8
    System::Free $9
  ${EndIf}
  ${If} $0 = 0
    System::Call '$R1->0(g "${IID_IServiceProvider}", *p .R2) i .r0'
  ${EndIf}
  ${If} $0 = 0
    System::Call '$R2->3(g "${SID_STopLevelBrowser}", g "${IID_IShellBrowser}", *p .R3) i .r0'  ; QueryService
  ${EndIf}
  ${If} $0 = 0
    System::Call '$R3->15(*p .R4) i .r0'  ; QueryActiveShellView
  ${EndIf}
  ${If} $0 = 0
    System::Call '$R4->15(i 0, g "${IID_IDispatch}", *p .R5) i .r0'  ; GetItemObject(SVGIO_BACKGROUND)
  ${EndIf}
  ${If} $0 = 0
    System::Call '$R5->0(g "${IID_IShellFolderViewDual}", *p .R6) i .r0'
  ${EndIf}
  ${If} $0 = 0
    System::Call '$R6->7(*p .R7) i .r0'  ; get_Application
  ${EndIf}
  ${If} $0 = 0
    System::Call '$R7->0(g "${IID_IShellDispatch2}", *p .R8) i .r0'
  ${EndIf}
  ${If} $0 = 0
    ; ShellExecute(file, then four empty VARIANTs by value: arguments, folder, verb, show)
    System::Call 'oleaut32::SysAllocString(w "$INSTDIR\${EXE}") p .r1'
    System::Call '$R8->31(p r1, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0) i .r0'
    System::Call 'oleaut32::SysFreeString(p r1)'
  ${EndIf}
  !insertmacro RELEASE $R8
  !insertmacro RELEASE $R7
  !insertmacro RELEASE $R6
  !insertmacro RELEASE $R5
  !insertmacro RELEASE $R4
  !insertmacro RELEASE $R3
  !insertmacro RELEASE $R2
  !insertmacro RELEASE $R1
  !insertmacro RELEASE $R0
  ${If} $0 = 0
    ${Log} "Started $INSTDIR\${EXE} through the desktop's shell."
  ${Else}
    IntFmt $0 "0x%08X" $0
    ${Log} "Could not start KORVEN through the desktop's shell ($0)."
    MessageBox MB_OK|MB_ICONINFORMATION "Setup could not start KORVEN for you. It starts at your next sign-in; to start it now, choose ${PRODUCT} in the Start menu."
  ${EndIf}
FunctionEnd

; The uninstaller: removes what Setup put there and nothing else. The user's settings (the
; program's own key) and the device's libraries in the folder stay.
Var Ours  ; 1 when the uninstall entry names this folder

Function un.onInit
  SetRegView 32
  SetShellVarContext all
  StrCpy $LogName "KORVEN-uninstall.log"
  Call un.HoldSetupMutex
  ${If} $0 = 0
    Quit
  ${EndIf}
  ${Log} "${PRODUCT} Uninstall, $INSTDIR"
  StrCpy $Ours 0
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 == $INSTDIR
    StrCpy $Ours 1
  ${EndIf}
  ${If} $Ours = 0
  ${AndIfNot} ${FileExists} "$INSTDIR\${EXE}"
    ${GiveUp} ${EXIT_NOT_INSTALLED} "KORVEN is not installed in $INSTDIR (any more): there is nothing to remove."
    Quit
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.EndKorvenOrGiveUp
  ${If} $0 = 0
    Abort
  ${EndIf}
  ClearErrors
  Delete "$INSTDIR\${EXE}"
  ${If} ${Errors}
    ${GiveUp} ${EXIT_STILL_RUNNING} "$INSTDIR\${EXE} is in use (KORVEN runs for another user?), so nothing was removed. End it and run this again."
    Abort
  ${EndIf}
  ${Log} "Removed $INSTDIR\${EXE}"
  ; The start at sign-in, the shortcut and the entry only when they are this folder's.
  ReadRegStr $1 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $1 == '"$INSTDIR\${EXE}"'
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    ${Log} "Removed HKLM\${RUN_KEY}\${RUN_VALUE}"
  ${EndIf}
  ${If} $Ours = 1
    Delete "$SMPROGRAMS\${SHORTCUT}"
    ${Log} "Removed $SMPROGRAMS\${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ${Log} "Removed HKLM\${UNINSTALL_KEY}"
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only empty folders go: the device's libraries keep theirs.
  RMDir "$INSTDIR"
  ${If} $INSTDIR == "$PROGRAMFILES\TALVOR\KORVEN"
    RMDir "$PROGRAMFILES\TALVOR"
  ${EndIf}
  ${Log} "KORVEN is removed from $INSTDIR; its settings are kept."
SectionEnd

Function un.SetupCancelled
  ${Log} "Cancelled."
  SetErrorLevel ${EXIT_CANCELLED}
FunctionEnd
