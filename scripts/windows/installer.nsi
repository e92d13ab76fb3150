; The Windows installer of Tarvok: the portable folder made by deploy.sh,
; installed for all users under Program Files with a Start-menu shortcut and
; an uninstaller. Built by installer.sh, which defines VERSION, OUTFILE,
; FILES (the install and remove macros of the folder's files) and SIZE_KB.
Unicode true
; The default 32-bit stub installs nothing under a 64-bit-only Wine.
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvok"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!include "${FILES}"

Name "Tarvok ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tarvok"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The window the program makes for the system's messages, one per service.
!define MESSAGE_WINDOW "TarvokSystemMessages"
!define WM_QUERYENDSESSION 0x11
!define WM_ENDSESSION 0x16
!define ENDSESSION_CLOSEAPP 0x1
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
; The exit code when a running copy keeps its files.
!define STILL_RUNNING 2

; $0 = 1 while a copy of the installed program runs, of any user: Windows
; lets nobody write the file of a running program.
!macro InstalledCopyRuns UN
Function ${UN}InstalledCopyRuns
  StrCpy $0 0
  IfFileExists "$INSTDIR\Tarvok.exe" 0 runs_done
  ClearErrors
  FileOpen $1 "$INSTDIR\Tarvok.exe" a
  IfErrors 0 +3
    StrCpy $0 1
    Goto runs_done
  FileClose $1
  runs_done:
FunctionEnd
!macroend
!insertmacro InstalledCopyRuns ""
!insertmacro InstalledCopyRuns "un."

; A running copy of the installed program is asked to end the way Windows
; asks a program whose files an installer replaces (ENDSESSION_CLOSEAPP): it
; writes its settings and ends. Nothing is changed when it does not end or
; the user keeps it: the setup then ends with STILL_RUNNING.
!macro EndRunningCopy UN
Function ${UN}EndRunningCopy
  Call ${UN}InstalledCopyRuns
  StrCmp $0 0 end_done
  MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "Tarvok is running. OK ends it, its settings written first, as when Windows shuts down; Cancel leaves it running and changes nothing." /SD IDOK IDOK end_ask
    SetErrorLevel ${STILL_RUNNING}
    Quit
  end_ask:
  ; Only the copies of this folder: a portable copy elsewhere runs on.
  StrCpy $1 0
  end_next:
    FindWindow $1 "${MESSAGE_WINDOW}" "" 0 $1
    IntCmp $1 0 end_wait
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
    System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r2) p .r3'
    StrCpy $4 ""
    System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i ${NSIS_MAX_STRLEN})'
    System::Call 'kernel32::CloseHandle(p r3)'
    ; StrCmp ignores case, as Windows paths do.
    StrCmp $4 "$INSTDIR\Tarvok.exe" 0 end_next
    SendMessage $1 ${WM_QUERYENDSESSION} 0 ${ENDSESSION_CLOSEAPP} $5 /TIMEOUT=10000
    SendMessage $1 ${WM_ENDSESSION} 1 ${ENDSESSION_CLOSEAPP} $5 /TIMEOUT=10000
    Goto end_next
  end_wait:
  ; The program ends once its settings are written: 30 s at most.
  StrCpy $6 0
  end_poll:
    Call ${UN}InstalledCopyRuns
    StrCmp $0 0 end_done
    IntOp $6 $6 + 1
    IntCmp $6 300 0 0 end_refuse
    Sleep 100
    Goto end_poll
  end_refuse:
  MessageBox MB_OK|MB_ICONSTOP "Tarvok is still running (for another user?); nothing was changed. End it, then try again." /SD IDOK
  SetErrorLevel ${STILL_RUNNING}
  Quit
  end_done:
FunctionEnd
!macroend
!insertmacro EndRunningCopy ""
!insertmacro EndRunningCopy "un."

Section "Tarvok"
  SetRegView 64
  SetShellVarContext all
  ; Files over those of an earlier install; its users' settings stay.
  Call EndRunningCopy
  !insertmacro InstallFiles
  ; The program keeps its settings in the user's folder when this is beside
  ; it: Windows and Wine may let it write its own folder all the same.
  FileOpen $0 "$INSTDIR\Tarvok.installed" w
  FileWrite $0 "Installed by Tarvok ${VERSION} setup; settings are kept in %APPDATA%\Tarvok.$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Tarvok.lnk" "$INSTDIR\Tarvok.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tarvok"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tarvok.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Every value of the Run key of ROOT that starts this installed program
; (quoted or not, with arguments or not): it would name a missing file.
!macro RemoveRunValues ROOT
  StrCpy $R0 0
  StrLen $R4 "$INSTDIR\Tarvok.exe"
  run_next_${ROOT}:
    EnumRegValue $R1 ${ROOT} "${RUN_KEY}" $R0
    StrCmp $R1 "" run_done_${ROOT}
    ReadRegStr $R2 ${ROOT} "${RUN_KEY}" $R1
    StrCpy $R3 $R2 1
    StrCmp $R3 '"' 0 +2
      StrCpy $R2 $R2 "" 1
    StrCpy $R3 $R2 $R4
    ; StrCmp ignores case, as Windows paths do.
    StrCmp $R3 "$INSTDIR\Tarvok.exe" 0 run_keep_${ROOT}
      DeleteRegValue ${ROOT} "${RUN_KEY}" $R1
      Goto run_next_${ROOT}
    run_keep_${ROOT}:
    IntOp $R0 $R0 + 1
    Goto run_next_${ROOT}
  run_done_${ROOT}:
!macroend

; Only what the installer put there: the user's settings and backups in
; %APPDATA%\Tarvok, and anything else in the folder, stay.
Section "Uninstall"
  SetRegView 64
  SetShellVarContext all
  Call un.EndRunningCopy
  ; The program first: once it is gone no copy can start from here, and if
  ; one started after all the install stays whole.
  ClearErrors
  Delete "$INSTDIR\Tarvok.exe"
  IfErrors 0 +4
    MessageBox MB_OK|MB_ICONSTOP "Tarvok has just started again; nothing was removed." /SD IDOK
    SetErrorLevel ${STILL_RUNNING}
    Quit
  !insertmacro RemoveFiles
  Delete "$INSTDIR\Tarvok.installed"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tarvok.lnk"
  !insertmacro RemoveRunValues HKLM
  !insertmacro RemoveRunValues HKCU
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
