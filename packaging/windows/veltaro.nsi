; The Veltaro installer: veltaro.exe, veltaro-cli.exe and brenlow.dll in one folder, a
; Start-menu entry, an uninstaller, and on request the folder on the user's PATH (in the
; components page, or /PATH on the command line of a silent install). Built by the Windows
; build's package target:
;   makensis -DVERSION=1.2.0 -DSTAGE=<folder with the files> -DOUTFILE=<setup.exe> veltaro.nsi
Unicode true
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!ifndef VERSION | STAGE | OUTFILE
!error "VERSION, STAGE and OUTFILE must be defined"
!endif

!define PRODUCT "Veltaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrane Veltaro"
!define ENVIRONMENT_KEY "Environment"
; A PATH this long may have been cut when read (strings hold NSIS_MAX_STRLEN characters);
; writing it back would lose the rest, so it is left alone.
!define PATH_LIMIT 1000

Name "Ostrane ${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Ostrane\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Installed for every user of the machine, so the Start-menu entry is the common one.
Section "Veltaro and veltaro-cli" SecProgram
    SectionIn RO
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}\veltaro.exe"
    File "${STAGE}\veltaro-cli.exe"
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

Section /o "Add the folder to my PATH (veltaro-cli in any console)" SecPath
    Call AddToUserPath
SectionEnd

Function .onInit
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/PATH" $R1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecPath}
    ${EndIf}
FunctionEnd

; Appends $INSTDIR to the user's PATH unless it is there already, and records the entry in
; the uninstall key: the uninstaller removes that entry and nothing else.
Function AddToUserPath
    ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
    StrLen $1 $0
    ${If} $1 > ${PATH_LIMIT}
        DetailPrint "Your PATH is too long to change safely; add $INSTDIR to it yourself."
        MessageBox MB_OK|MB_ICONINFORMATION "Your PATH is too long to change safely; add $INSTDIR to it yourself." /SD IDOK
        Return
    ${EndIf}
    Push $0
    Push "$INSTDIR"
    Call PathEntryCount
    Pop $2
    ${If} $2 > 0
        DetailPrint "$INSTDIR is on your PATH already."
        Return
    ${EndIf}
    ${If} $0 == ""
        StrCpy $0 "$INSTDIR"
    ${Else}
        StrCpy $2 $0 1 -1
        ${If} $2 == ";"
            StrCpy $0 "$0$INSTDIR"
        ${Else}
            StrCpy $0 "$0;$INSTDIR"
        ${EndIf}
    ${EndIf}
    WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" $0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UserPathEntry" "$INSTDIR"
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
FunctionEnd

; Stack: PATH, entry -> how many of PATH's ';'-separated entries equal the entry (any case).
Function PathEntryCount
    Exch $R1 ; entry
    Exch
    Exch $R0 ; PATH
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    StrCpy $R2 0 ; count
    StrCpy $R3 0 ; index
    StrCpy $R4 "" ; the entry being read
    ${Do}
        StrCpy $R5 $R0 1 $R3
        ${If} $R5 == ";"
        ${OrIf} $R5 == ""
            ${If} $R4 == $R1
                IntOp $R2 $R2 + 1
            ${EndIf}
            StrCpy $R4 ""
        ${Else}
            StrCpy $R4 "$R4$R5"
        ${EndIf}
        IntOp $R3 $R3 + 1
    ${LoopUntil} $R5 == ""
    StrCpy $R0 $R2
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd

; Takes out of the user's PATH the one entry that the installer added, if it is still there;
; every other entry, and their order, stay exactly as they are.
Function un.RemoveUserPathEntry
    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "UserPathEntry"
    ${If} $R0 == ""
        Return
    ${EndIf}
    ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
    StrLen $1 $0
    ${If} $1 > ${PATH_LIMIT}
        DetailPrint "Your PATH is too long to change safely; take $R0 out of it yourself."
        Return
    ${EndIf}
    StrCpy $2 "" ; the PATH without the entry
    StrCpy $3 0  ; 1 once the entry was taken out
    StrCpy $4 "" ; the entry being read
    StrCpy $5 0  ; index
    StrCpy $6 1  ; 1 until the first entry is kept
    ${Do}
        StrCpy $7 $0 1 $5
        ${If} $7 == ";"
        ${OrIf} $7 == ""
            ${If} $3 == 0
            ${AndIf} $4 == $R0
                StrCpy $3 1
            ${ElseIf} $6 == 1
                StrCpy $2 $4
                StrCpy $6 0
            ${Else}
                StrCpy $2 "$2;$4"
            ${EndIf}
            StrCpy $4 ""
        ${Else}
            StrCpy $4 "$4$7"
        ${EndIf}
        IntOp $5 $5 + 1
    ${LoopUntil} $7 == ""
    ${If} $3 == 0
        Return ; the user has taken it out already
    ${EndIf}
    ${If} $2 == ""
        DeleteRegValue HKCU "${ENVIRONMENT_KEY}" "Path"
    ${Else}
        WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" $2
    ${EndIf}
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
FunctionEnd

Section "Uninstall"
    Call un.RemoveUserPathEntry
    SetShellVarContext all
    Delete "$SMPROGRAMS\Ostrane\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\Ostrane\Uninstall ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\Ostrane"
    Delete "$INSTDIR\veltaro.exe"
    Delete "$INSTDIR\veltaro-cli.exe"
    Delete "$INSTDIR\brenlow.dll"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "$INSTDIR\.."
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
