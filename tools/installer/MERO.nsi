; The Windows installer of MERO: a 64-bit NSIS program that puts the VST 3 bundle into
; the system's VST 3 folder, C:\Program Files\Common Files\VST3\MERO.vst3, and an
; uninstaller into C:\Program Files\Parvolen\MERO, registered with Windows' list of
; programs. An older MERO's bundle is removed before the new one is copied; /S installs
; (and uninstalls) without asking. scripts/release builds it:
;   makensis -DVERSION=<x.y.z> -DBUNDLE=<bundle folder> -DLICENSE_FILE=<text file>
;            -DSIZE_KB=<bundle size> -DOUTFILE=<setup.exe> tools/installer/MERO.nsi

!ifndef VERSION | BUNDLE | LICENSE_FILE | SIZE_KB | OUTFILE
  !error "define VERSION, BUNDLE, LICENSE_FILE, SIZE_KB and OUTFILE (see the top of MERO.nsi)"
!endif

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PUBLISHER "Parvolen"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\MERO"
!define UNINSTALLER "Uninstall MERO.exe"

Name "MERO ${VERSION}"
OutFile "${OUTFILE}"
; The bundle's place is fixed by the VST 3 format: hosts look in this folder.
InstallDir "$COMMONFILES64\VST3\MERO.vst3"
BrandingText "${PUBLISHER}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "MERO"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "MERO ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ABORTWARNING
!define MUI_LICENSEPAGE_TEXT_TOP "MERO is free software under the GNU General Public License, version 3 or later."
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A 64-bit installer sees the 64-bit registry and file system already (no WOW64
; redirection applies to it); the view is set all the same so that the keys it writes and
; removes cannot end up in the 32-bit branch.
Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "MERO" SecMero
  SectionIn RO
  ; An older MERO's files go first, so that none of them outlives the update.
  RMDir /r "$INSTDIR"
  SetOutPath "$INSTDIR"
  File /r "${BUNDLE}\*"

  SetOutPath "$PROGRAMFILES64\${PUBLISHER}\MERO"
  File "/oname=MERO Manual.pdf" "${MANUAL}"
  WriteUninstaller "$PROGRAMFILES64\${PUBLISHER}\MERO\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "MERO"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$PROGRAMFILES64\${PUBLISHER}\MERO\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$PROGRAMFILES64\${PUBLISHER}\MERO\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer wrote; the shared folders only when nothing else is in them.
Section "Uninstall"
  RMDir /r "$COMMONFILES64\VST3\MERO.vst3"
  RMDir "$COMMONFILES64\VST3"
  Delete "$PROGRAMFILES64\${PUBLISHER}\MERO\MERO Manual.pdf"
  Delete "$PROGRAMFILES64\${PUBLISHER}\MERO\${UNINSTALLER}"
  RMDir "$PROGRAMFILES64\${PUBLISHER}\MERO"
  RMDir "$PROGRAMFILES64\${PUBLISHER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The uninstaller runs from a copy in a folder of its own in Temp; NSIS has the copy
  ; deleted at the next start, and this has the then empty folder deleted after it.
  ${GetParent} "$EXEDIR" $0
  ${If} $0 == $TEMP
    RMDir /REBOOTOK "$EXEDIR"
  ${EndIf}
SectionEnd
