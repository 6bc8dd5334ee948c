; The TARNOVA installer for Windows (NSIS). scripts/windows.sh stages the files and writes the
; two lists included below (installed files; their removal), then runs
;   makensis -DVERSION=x.y.z -DSTAGE=<staged folder> -DLISTS=<folder of the lists> -DOUTFILE=<setup.exe>
; Installed per user (no administrator rights needed), so that the examples can be run where
; they are installed. The uninstaller removes exactly the files it installed: case files and
; results the user made, even inside the examples folder, stay.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
!include "MUI2.nsh"

Name "TARNOVA ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\TARNOVA"
InstallDirRegKey HKCU "Software\TARNOVA" "InstallDir"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TARNOVA"

; A file type opened by double click: extension, type name, description, program.
!macro FileType EXT TYPE TEXT PROGRAM
  WriteRegStr HKCU "Software\Classes\${EXT}" "" "${TYPE}"
  WriteRegStr HKCU "Software\Classes\${TYPE}" "" "${TEXT}"
  WriteRegStr HKCU "Software\Classes\${TYPE}\shell\open\command" "" '"$INSTDIR\${PROGRAM}" "%1"'
!macroend
!macro RemoveFileType EXT TYPE
  ReadRegStr $0 HKCU "Software\Classes\${EXT}" ""
  StrCmp $0 "${TYPE}" 0 +2
    DeleteRegKey HKCU "Software\Classes\${EXT}"
  DeleteRegKey HKCU "Software\Classes\${TYPE}"
!macroend

Section "TARNOVA"
  !include "${LISTS}\install.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "Software\TARNOVA" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "TARNOVA ${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  !insertmacro FileType ".ana" "TARNOVA.Analysis" "TARNOVA analysis" "Strakon.exe"
  !insertmacro FileType ".sec" "TARNOVA.Section" "TARNOVA section" "Sagoma.exe"
  !insertmacro FileType ".teA" "TARNOVA.Curves" "TARNOVA element curves" "Pickara.exe"
  !insertmacro FileType ".teB" "TARNOVA.Curves" "TARNOVA element curves" "Pickara.exe"
  !insertmacro FileType ".teC" "TARNOVA.Curves" "TARNOVA element curves" "Pickara.exe"
  !insertmacro FileType ".teD" "TARNOVA.Curves" "TARNOVA element curves" "Pickara.exe"
  !insertmacro FileType ".teE" "TARNOVA.Curves" "TARNOVA element curves" "Pickara.exe"
  !insertmacro FileType ".teF" "TARNOVA.Curves" "TARNOVA element curves" "Pickara.exe"
  !insertmacro FileType ".teG" "TARNOVA.Curves" "TARNOVA element curves" "Pickara.exe"
  !insertmacro FileType ".teH" "TARNOVA.Curves" "TARNOVA element curves" "Pickara.exe"

  ; The Start menu: each example opened in the programs, the documents, the uninstaller.
  CreateDirectory "$SMPROGRAMS\TARNOVA"
  SetOutPath "$INSTDIR\examples\tanker"
  CreateShortcut "$SMPROGRAMS\TARNOVA\Strakon - tanker example.lnk" "$INSTDIR\Strakon.exe" '"$INSTDIR\examples\tanker\TANKER.ana"'
  CreateShortcut "$SMPROGRAMS\TARNOVA\Flexura - tanker example.lnk" "$INSTDIR\Flexura.exe" '"$INSTDIR\examples\tanker\TANKER.ana"'
  CreateShortcut "$SMPROGRAMS\TARNOVA\Collaudo - tanker example.lnk" "$INSTDIR\Collaudo.exe" '"$INSTDIR\examples\tanker\TANKER.ana"'
  CreateShortcut "$SMPROGRAMS\TARNOVA\Sagoma - tanker example.lnk" "$INSTDIR\Sagoma.exe" '"$INSTDIR\examples\tanker\TANKER.sec"'
  CreateShortcut "$SMPROGRAMS\TARNOVA\Pickara - tanker example.lnk" "$INSTDIR\Pickara.exe" '"$INSTDIR\examples\tanker\TANKER.teA"'
  CreateShortcut "$SMPROGRAMS\TARNOVA\Curvella - tanker example.lnk" "$INSTDIR\Curvella.exe" '"$INSTDIR\examples\tanker\TANKER.teA"'
  SetOutPath "$INSTDIR\examples\box"
  CreateShortcut "$SMPROGRAMS\TARNOVA\Strakon - box example.lnk" "$INSTDIR\Strakon.exe" '"$INSTDIR\examples\box\BOX.ana"'
  CreateShortcut "$SMPROGRAMS\TARNOVA\Flexura - box example.lnk" "$INSTDIR\Flexura.exe" '"$INSTDIR\examples\box\BOX.ana"'
  CreateShortcut "$SMPROGRAMS\TARNOVA\Pickara - box example.lnk" "$INSTDIR\Pickara.exe" '"$INSTDIR\examples\box\BOX.teA"'
  CreateShortcut "$SMPROGRAMS\TARNOVA\Curvella - box example.lnk" "$INSTDIR\Curvella.exe" '"$INSTDIR\examples\box\BOX.teA"'
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\TARNOVA\Documents.lnk" "$INSTDIR\docs"
  CreateShortcut "$SMPROGRAMS\TARNOVA\Uninstall TARNOVA.lnk" "$INSTDIR\Uninstall.exe"
SectionEnd

Section "Uninstall"
  !include "${LISTS}\uninstall.nsh"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\TARNOVA\*.lnk"
  RMDir "$SMPROGRAMS\TARNOVA"
  !insertmacro RemoveFileType ".ana" "TARNOVA.Analysis"
  !insertmacro RemoveFileType ".sec" "TARNOVA.Section"
  !insertmacro RemoveFileType ".teA" "TARNOVA.Curves"
  !insertmacro RemoveFileType ".teB" "TARNOVA.Curves"
  !insertmacro RemoveFileType ".teC" "TARNOVA.Curves"
  !insertmacro RemoveFileType ".teD" "TARNOVA.Curves"
  !insertmacro RemoveFileType ".teE" "TARNOVA.Curves"
  !insertmacro RemoveFileType ".teF" "TARNOVA.Curves"
  !insertmacro RemoveFileType ".teG" "TARNOVA.Curves"
  !insertmacro RemoveFileType ".teH" "TARNOVA.Curves"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\TARNOVA"
SectionEnd
