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

Section "Tarvok"
  SetRegView 64
  SetShellVarContext all
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
  !insertmacro RemoveFiles
  Delete "$INSTDIR\Tarvok.installed"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tarvok.lnk"
  !insertmacro RemoveRunValues HKLM
  !insertmacro RemoveRunValues HKCU
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
