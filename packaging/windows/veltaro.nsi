; The Veltaro installer: veltaro.exe and brenlow.dll in one folder, a Start-menu entry and
; an uninstaller. Built by the Windows build's package target:
;   makensis -DVERSION=1.2.0 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> veltaro.nsi
Unicode true
!include "MUI2.nsh"

!ifndef VERSION | STAGE | OUTFILE
!error "VERSION, STAGE and OUTFILE must be defined"
!endif

!define PRODUCT "Veltaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrane Veltaro"

Name "Ostrane ${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Ostrane\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Installed for every user of the machine, so the Start-menu entry is the common one.
Section "Install"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\veltaro.exe"
    File "${STAGE}\brenlow.dll"
    File "${STAGE}\README.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\Ostrane"
    CreateShortCut "$SMPROGRAMS\Ostrane\${PRODUCT}.lnk" "$INSTDIR\veltaro.exe"
    CreateShortCut "$SMPROGRAMS\Ostrane\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Ostrane ${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Ostrane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veltaro.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Ostrane\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\Ostrane\Uninstall ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\Ostrane"
    Delete "$INSTDIR\veltaro.exe"
    Delete "$INSTDIR\brenlow.dll"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "$INSTDIR\.."
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
