; The Windows installer, hopla-VERSION-windows-x64-setup.exe, made by makensis from the zip's
; folder (cmake/Installer.cmake passes VERSION, VERSION4, SOURCE, FILES, OUTFILE and ICON with
; -D). It installs for the user alone, without administrator rights, into
; %LOCALAPPDATA%\Programs\Hopla: a Start-menu entry, an entry in Installed apps with the icon,
; the version and the uninstaller, and the file types .demo (Play) and .stages (Play, Edit).
; /S installs and uninstalls silently. The uninstaller removes every file and registry key it
; installed; the player's settings, records and stage files in %APPDATA%\hopla stay unless the
; player asks otherwise, and the screenshots in Pictures\Hopla always stay.
; A 64-bit installer for the 64-bit game (it also runs where no 32-bit Windows is at hand).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Hopla"
!define CLASSES "Software\Classes"

Name "Hopla"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Hopla"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Hopla ${VERSION}"

VIProductVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "Hopla"
VIAddVersionKey /LANG=1033 "FileDescription" "Hopla ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "The Hopla developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 The Hopla developers. MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\hopla.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Hopla"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A file type: its class (the name Explorer shows, its icon: a resource id of hopla.exe) and the
; extension pointing at it, both under the user's own classes.
!macro FileType EXT CLASS DESCRIPTION ICON
    WriteRegStr HKCU "${CLASSES}\${EXT}" "" "${CLASS}"
    WriteRegStr HKCU "${CLASSES}\${EXT}\OpenWithProgids" "${CLASS}" ""
    WriteRegStr HKCU "${CLASSES}\${CLASS}" "" "${DESCRIPTION}"
    WriteRegStr HKCU "${CLASSES}\${CLASS}\DefaultIcon" "" "$INSTDIR\hopla.exe,${ICON}"
!macroend
!macro Verb CLASS VERB LABEL OPTION
    WriteRegStr HKCU "${CLASSES}\${CLASS}\shell\${VERB}" "" "${LABEL}"
    WriteRegStr HKCU "${CLASSES}\${CLASS}\shell\${VERB}\command" "" \
        '"$INSTDIR\hopla.exe" ${OPTION} "%1"'
!macroend
; The extension is let go only while it still points at the game's class: another program
; may have taken it since.
!macro RemoveFileType EXT CLASS
    DeleteRegKey HKCU "${CLASSES}\${CLASS}"
    DeleteRegValue HKCU "${CLASSES}\${EXT}\OpenWithProgids" "${CLASS}"
    DeleteRegKey /ifempty HKCU "${CLASSES}\${EXT}\OpenWithProgids"
    ReadRegStr $0 HKCU "${CLASSES}\${EXT}" ""
    StrCmp $0 "${CLASS}" 0 +2
        DeleteRegValue HKCU "${CLASSES}\${EXT}" ""
    DeleteRegKey /ifempty HKCU "${CLASSES}\${EXT}"
!macroend

Section "Hopla"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    SetOutPath "$INSTDIR"
    CreateShortCut "$SMPROGRAMS\Hopla.lnk" "$INSTDIR\hopla.exe" "" "$INSTDIR\hopla.exe" 0 \
        SW_SHOWNORMAL "" "Steer a bouncing ball through 21 stages"

    !insertmacro FileType ".demo" "Hopla.Demo" "Hopla demo" -2
    !insertmacro Verb "Hopla.Demo" "open" "Play" "--play"
    !insertmacro FileType ".stages" "Hopla.Stages" "Hopla stage file" -3
    !insertmacro Verb "Hopla.Stages" "open" "Play" "--stages"
    !insertmacro Verb "Hopla.Stages" "edit" "Edit" "--edit"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Hopla"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\hopla.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Hopla developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    ; Explorer shows the new file types' icons at once.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    !include "${UNFILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Hopla.lnk"
    !insertmacro RemoveFileType ".demo" "Hopla.Demo"
    !insertmacro RemoveFileType ".stages" "Hopla.Stages"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    MessageBox MB_YESNO|MB_DEFBUTTON2|MB_ICONQUESTION \
        "Also delete your Hopla settings, records and stage files ($APPDATA\hopla)?" \
        /SD IDNO IDNO keep
        RMDir /r "$APPDATA\hopla"
    keep:
    ; The entry in Installed apps goes last: while it is there, the uninstall can be run again.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
