; cube4's Windows installer: for all users into Program Files\cube4, with a Start-menu shortcut
; and an entry in Apps & features; /S installs or uninstalls silently. English or Japanese,
; after the system's language. CMake runs it:
;   makensis -DVERSION=... -DPACKAGE_DIR=... -DFILES=... -DICON=... -DOUTFILE=... installer.nsi
; FILES names the include with the macros INSTALL_FILES and REMOVE_FILES for the package's files.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\cube4"

Name "cube4 ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\cube4"
RequestExecutionLevel admin

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString SHORTCUT_DESCRIPTION ${LANG_ENGLISH} "Four-in-a-row on a 4 x 4 x 4 cube with gravity"
LangString SHORTCUT_DESCRIPTION ${LANG_JAPANESE} "重力のある 4×4×4 の立体で四目並べ"

Function .onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section
    ; The files keep no build time, so that the same files make the same installer.
    SetDateSave off
    SetOutPath "$INSTDIR"
    !insertmacro INSTALL_FILES
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\cube4.lnk" "$INSTDIR\cube4.exe" "" "$INSTDIR\cube4.exe" 0 \
        SW_SHOWNORMAL "" "$(SHORTCUT_DESCRIPTION)"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "cube4"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\cube4.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer made and nothing else: the folder goes only when it is empty.
Section "Uninstall"
    Delete "$SMPROGRAMS\cube4.lnk"
    !insertmacro REMOVE_FILES
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
