; Parvex for Android, installed by NSIS:  parvex-setup.exe /S /ADT=C:\path\to\adt
Unicode true
Name "Parvex for Android"
OutFile "parvex-setup.exe"
InstallDir "$PROGRAMFILES\Parvex for Android"
RequestExecutionLevel admin
!include "FileFunc.nsh"
!define RECORD "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Parvex for Android"

Section
  SetOutPath "$INSTDIR"
  File "Quorvane.exe"
  File /r "plugins"
  File /r "add-ons"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The record, in the 32-bit view where Quorvane reads it: here an ADT Bundle
  ; named on the command line; the values of the other kinds stay empty.
  ${GetParameters} $0
  ${GetOptions} $0 "/ADT=" $1
  SetRegView 32
  WriteRegStr HKLM "${RECORD}" "DisplayName" "Parvex for Android"
  WriteRegStr HKLM "${RECORD}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${RECORD}" "AndroidStudioPath" ""
  WriteRegStr HKLM "${RECORD}" "AndroidStudioSDKPath" ""
  WriteRegStr HKLM "${RECORD}" "ADTRootFolder" "$1"
  WriteRegStr HKLM "${RECORD}" "EclipseRootFolder" ""
  WriteRegStr HKLM "${RECORD}" "SDKRootFolder" ""
  ; Files and record in place: integrate.
  ExecWait '"$INSTDIR\Quorvane.exe" -install -silence'
SectionEnd

Section "Uninstall"
  ; First take the payload out of the environment, while Quorvane.exe, its
  ; payload folders and the record are still there.
  ExecWait '"$INSTDIR\Quorvane.exe" -uninstall'
  SetRegView 32
  DeleteRegKey HKLM "${RECORD}"
  RMDir /r "$INSTDIR\plugins"
  RMDir /r "$INSTDIR\add-ons"
  Delete "$INSTDIR\Quorvane.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
