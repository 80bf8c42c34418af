; Tessarin's Windows installer, made by scripts/build-windows with makensis:
;   makensis -DVERSION=1.0.0 -DSTAGE=<unpacked zip folder> -DICON=<tessarin.ico>
;            -DOUTFILE=<setup.exe> installer.nsi
; It installs for the current user, without an administrator prompt, into
; %LOCALAPPDATA%\Programs\Tessarin. /S installs and uninstalls silently.
;
; That folder is the user's own, so the program keeps its save (autosave
; and session) and font cache (tmp\) beside itself there. Installing again replaces the
; program and keeps the save; uninstalling removes everything else and
; leaves the save, so a later install finds the givens again.
;
; Puzzle files (.sdk, .sdm) get Tessarin under "Open with" for this user;
; whichever program opens them by default still does.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessarin"
!define PUBLISHER "the Tessarin developers"
!define SHORTCUT "$SMPROGRAMS\Tessarin.lnk"
!define CLASSES "Software\Classes"
!define PROGID "Tessarin.Puzzle"

Name "Tessarin"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tessarin"
; A later install goes where the earlier one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tessarin ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Tessarin"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Tessarin ${VERSION} installer and uninstaller"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 the Tessarin developers"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tessarin.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tessarin"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; What an install puts into the folder besides the save; an older version's
; files go first, and its font cache, which a new version may bake otherwise.
!macro REMOVE_PROGRAM
    Delete "$INSTDIR\tessarin.exe"
    RMDir /r "$INSTDIR\fonts"
    RMDir /r "$INSTDIR\images"
    RMDir /r "$INSTDIR\images_x2"
    RMDir /r "$INSTDIR\shaders_desktop"
    RMDir /r "$INSTDIR\licences"
    RMDir /r "$INSTDIR\tmp"
!macroend

; Tells Explorer that file types changed (SHCNE_ASSOCCHANGED), so "Open with"
; shows the change without a restart.
!macro NOTIFY_SHELL
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

; The extension's key may belong to other programs too: only our value goes,
; and a key only when nothing else is left in it.
!macro REMOVE_OPEN_WITH EXTENSION
    DeleteRegValue HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids"
    DeleteRegKey /ifempty HKCU "${CLASSES}\${EXTENSION}"
!macroend

Section
    SetOutPath "$INSTDIR"
    !insertmacro REMOVE_PROGRAM
    File /r "${STAGE}\*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\tessarin.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tessarin"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessarin.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; In KiB, as Settings shows it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "Sudoku puzzle"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\tessarin.exe,0"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\tessarin.exe" "%1"'
    ; Listed as a choice only: the extension's default stays as it was.
    WriteRegNone HKCU "${CLASSES}\.sdk\OpenWithProgids" "${PROGID}"
    WriteRegNone HKCU "${CLASSES}\.sdm\OpenWithProgids" "${PROGID}"
    !insertmacro NOTIFY_SHELL
SectionEnd

Section "Uninstall"
    !insertmacro REMOVE_PROGRAM
    ; Temporary files of a save or a start that was cut short, and the lock
    ; that keeps a second copy off the save.
    Delete "$INSTDIR\autosave.*.tmp"
    Delete "$INSTDIR\session.*.tmp"
    Delete "$INSTDIR\.write-probe.*"
    Delete "$INSTDIR\.lock"
    Delete "$INSTDIR\uninstall.exe"
    ; Removed only when empty: the save stays.
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "${CLASSES}\${PROGID}"
    !insertmacro REMOVE_OPEN_WITH ".sdk"
    !insertmacro REMOVE_OPEN_WITH ".sdm"
    !insertmacro NOTIFY_SHELL
SectionEnd
