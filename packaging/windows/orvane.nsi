; The Windows installer of Orvane, made by tools/windows-package.sh, which
; passes VERSION, SOURCE (the program's folder, as in the zip), ICON, OUTFILE
; and FILES (the install and uninstall lines of every file of SOURCE).
;
; It installs for all users into Program Files, adds a Start-menu entry,
; opens .dbd .dex .pod .epd files in Orvane (as "orvane FILE" does) and
; registers its uninstaller. The uninstaller removes exactly the files it
; installed: settings and notes written beside the program stay.
; A 64-bit installer for a 64-bit program (it does not start on 32-bit Windows).
Target amd64-unicode
!include "MUI2.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"
!define CLASSES "Software\Classes"

Name "Orvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Orvane"
InstallDirRegKey HKLM "Software\Orvane" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "Orvane ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; No "run Orvane" on the last page: started from the installer it would run
; with the installer's administrator rights and write its first settings into
; Program Files, where the user's own runs cannot change them.
!insertmacro MUI_PAGE_LICENSE "${SOURCE}/copyright.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "French"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; A file type opened by Orvane: its class (name, icon, open command), and the
; extension pointing at it.
!macro Associate EXT DESCRIPTION
  WriteRegStr HKLM "${CLASSES}\Orvane.${EXT}" "" "${DESCRIPTION}"
  WriteRegStr HKLM "${CLASSES}\Orvane.${EXT}\DefaultIcon" "" "$INSTDIR\orvane.exe,0"
  WriteRegStr HKLM "${CLASSES}\Orvane.${EXT}\shell\open\command" "" '"$INSTDIR\orvane.exe" "%1"'
  WriteRegStr HKLM "${CLASSES}\.${EXT}" "" "Orvane.${EXT}"
  WriteRegStr HKLM "${CLASSES}\.${EXT}\OpenWithProgids" "Orvane.${EXT}" ""
!macroend

; Undone only where the extension still points at Orvane.
!macro Dissociate EXT
  ReadRegStr $0 HKLM "${CLASSES}\.${EXT}" ""
  ${If} $0 == "Orvane.${EXT}"
    DeleteRegValue HKLM "${CLASSES}\.${EXT}" ""
  ${EndIf}
  DeleteRegValue HKLM "${CLASSES}\.${EXT}\OpenWithProgids" "Orvane.${EXT}"
  DeleteRegKey /ifempty HKLM "${CLASSES}\.${EXT}\OpenWithProgids"
  DeleteRegKey /ifempty HKLM "${CLASSES}\.${EXT}"
  DeleteRegKey HKLM "${CLASSES}\Orvane.${EXT}"
!macroend

Section "Orvane"
  SetShellVarContext all
  !define INSTALL
  !include "${FILES}"
  !undef INSTALL
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Orvane.lnk" "$INSTDIR\orvane.exe" "" "$INSTDIR\orvane.exe" 0

  !insertmacro Associate dbd "Fly! database records"
  !insertmacro Associate dex "Fly! database exchange file"
  !insertmacro Associate pod "Fly! II archive"
  !insertmacro Associate epd "Fly! archive"
  ; Explorer shows the new associations without a restart.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "Software\Orvane" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Orvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Orvane developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orvane.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Orvane.lnk"
  !insertmacro Dissociate dbd
  !insertmacro Dissociate dex
  !insertmacro Dissociate pod
  !insertmacro Dissociate epd
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  !define UNINSTALL
  !include "${FILES}"
  !undef UNINSTALL
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "Software\Orvane"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
