; The installer of Scribane: puts the program and the suite's help file into a folder
; the user picks, registers them where the editor and the suite look for them, and
; adds Start-menu shortcuts and an uninstaller.
;
; makensis -DPROGRAM_EXE=... -DHELP_FILE=... -DOUTFILE=... [-DTARGET=amd64-unicode] scribane.nsi

!ifndef TARGET
  !define TARGET x86-unicode
!endif
!ifndef VERSION
  !define VERSION 2.0.11
!endif

Unicode true
Target ${TARGET}
Name "Scribane"
Caption "Scribane ${VERSION} Setup"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!if "${TARGET}" == "amd64-unicode"
  InstallDir "$PROGRAMFILES64\Velkaro"
!else
  InstallDir "$PROGRAMFILES\Velkaro"
!endif

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Scribane"
VIAddVersionKey "CompanyName" "Velkaro"
VIAddVersionKey "FileDescription" "Scribane ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"

!define SUITE_KEY "SOFTWARE\Velkaro"
!define OWN_KEY "SOFTWARE\Velkaro\Tessarine"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Scribane"
!define UNINSTALLER "Uninstall Scribane.exe"
; "Edit with Scribane" in Explorer's menu for level description files. Windows keeps
; .inf for its setup files, so the default action of .inf (and of .txt) stays theirs.
; Written for every user of the machine, in HKLM's classes: a write through HKCR lands in
; the classes of the user running the installer whenever that user already has the key.
!define INF_SHELL_KEY "Software\Classes\SystemFileAssociations\.inf\shell"
!define EDIT_VERB_KEY "${INF_SHELL_KEY}\EditWithScribane"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
!if "${TARGET}" == "amd64-unicode"
  SetRegView 64
!endif
FunctionEnd

Function un.onInit
!if "${TARGET}" == "amd64-unicode"
  SetRegView 64
!endif
FunctionEnd

Section "Scribane"
  SetOutPath "$INSTDIR"
  File "/oname=scribane.exe" "${PROGRAM_EXE}"
  File "/oname=Vellumdoc.chm" "${HELP_FILE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; What the editor reads at start: its program folder, and the first-run greeting.
  WriteRegStr HKLM "${SUITE_KEY}" "Tessarine" "$INSTDIR"
  WriteRegStr HKLM "${OWN_KEY}" "EersteKeer" "1"

  WriteRegStr HKLM "${EDIT_VERB_KEY}" "" "Edit with Scribane"
  WriteRegStr HKLM "${EDIT_VERB_KEY}\command" "" '"$INSTDIR\scribane.exe" "%1"'

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Velkaro"
  CreateShortcut "$SMPROGRAMS\Velkaro\Scribane.lnk" "$INSTDIR\scribane.exe"
  CreateShortcut "$SMPROGRAMS\Velkaro\Velkaro help.lnk" "$INSTDIR\Vellumdoc.chm"
  CreateShortcut "$SMPROGRAMS\Velkaro\Uninstall Scribane.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Scribane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Velkaro"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\scribane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\scribane.exe"
  Delete "$INSTDIR\Vellumdoc.chm"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; The folder is the suite's: it goes only when no other tool is left in it.
  RMDir "$INSTDIR"

  ; Only the values this installer wrote; the sibling tools' values and the user's
  ; recent-files list stay.
  DeleteRegValue HKLM "${SUITE_KEY}" "Tessarine"
  DeleteRegValue HKLM "${OWN_KEY}" "EersteKeer"
  DeleteRegKey /ifempty HKLM "${OWN_KEY}"
  DeleteRegKey /ifempty HKLM "${SUITE_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${EDIT_VERB_KEY}"
  DeleteRegKey /ifempty HKLM "${INF_SHELL_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Classes\SystemFileAssociations\.inf"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Velkaro\Scribane.lnk"
  Delete "$SMPROGRAMS\Velkaro\Velkaro help.lnk"
  Delete "$SMPROGRAMS\Velkaro\Uninstall Scribane.lnk"
  RMDir "$SMPROGRAMS\Velkaro"
SectionEnd
