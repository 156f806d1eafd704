; The setup program of Kestramo for Windows: 64-bit, Unicode, its pages in Bulgarian.
; An administrator installs for all users under Program Files; a user without those
; rights installs for himself alone, under his own application folder.
; makensis -DEXE=path\to\kestramo.exe -DICON=kestramo.ico -DLICENSE=LICENSE -DNOTICES=NOTICES
;          -DVERSION=1.00 -DVERSION_QUAD=1.0.0.0 "-DLEGAL=the copyright and licence lines"
;          -DOUTFILE=kestramo-1.00-setup.exe
; (CMake gives the version, and the two lines of LICENSE that state the licence.)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define NAME "Kestramo"
!define PUBLISHER "the Kestramo authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestramo"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Kestramo"
!include MultiUser.nsh
!include MUI2.nsh

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${NAME} ${VERSION}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kestramo.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The page that asks for whom to install, which Bulgarian.nsh does not translate.
!define MULTIUSER_TEXT_INSTALLMODE_TITLE "За кого да се инсталира"
!define MULTIUSER_TEXT_INSTALLMODE_SUBTITLE "Изберете за кого да се инсталира $(^NameDA)."
!define MULTIUSER_INNERTEXT_INSTALLMODE_TOP "Изберете дали да инсталирате $(^NameDA) само за себе си или за всички потребители на този компютър. $(^ClickNext)"
!define MULTIUSER_INNERTEXT_INSTALLMODE_ALLUSERS "За всички потребители на този компютър"
!define MULTIUSER_INNERTEXT_INSTALLMODE_CURRENTUSER "Само за мен"
!insertmacro MUI_LANGUAGE "Bulgarian"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} "ProductName" "${NAME}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} "FileDescription" "Инсталиране на ${NAME}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_BULGARIAN} "LegalCopyright" "${LEGAL}"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Kestramo"
  SetOutPath "$INSTDIR"
  File "/oname=kestramo.exe" "${EXE}"
  ; The terms of use, and the notices of the work of others inside the program. They go in
  ; with no time of their own: a checkout's time would make each build's setup differ.
  SetDateSave off
  File "/oname=LICENSE.txt" "${LICENSE}"
  File "/oname=NOTICES.txt" "${NOTICES}"
  SetDateSave on
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Kestramo.lnk" "$INSTDIR\kestramo.exe" "" "$INSTDIR\kestramo.exe" 0
  ; Programs and Features, for this user or for all, as installed.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestramo.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" 0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Kestramo.lnk"
  Delete "$INSTDIR\kestramo.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
