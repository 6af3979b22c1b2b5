; Tessel's installer: a per-user install that needs no administrator rights,
; into the user's local programs folder, because Tessel.ini lives beside the
; program and must stay writable. installer/package.sh builds it from the
; laid-out suite and passes VERSION, SOURCE, STAGE, FILES, PANEL and OUTFILE.
;
; Switches besides the usual /S (silent) and /D=<folder> (last, unquoted):
;   installer    /NOAUTOSTART     do not start Tessel when the user logs on
;   uninstaller  /REMOVESETTINGS  remove Tessel.ini and the page settings too
; Exit codes: 0 done, 1 cancelled by the user, 2 failed. A failed first
; install removes what it had written. The uninstaller, started as it lies,
; hands over to a copy of itself and returns 0 at once; a copy started from
; elsewhere with _?=<folder> last does the work and returns its own code.
; The hand-over leaves nothing behind: no copy in TEMP, and no delete waiting
; for the next boot (which would name a file outside the suite's folder).
;
; A running Tessel is closed through its own close path (the system close
; command to its main form) before files are replaced or removed. An install
; that closed it starts it again at the end, with "-tray" as at log-on, so a
; silent upgrade asks no question.

Unicode true
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
; A file that cannot be written fails the install instead of being skipped.
AllowSkipFiles off

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh
!include WinMessages.nsh
!include "${FILES}"

!define SC_CLOSE 0xF060
!define SYNCHRONIZE 0x00100000
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessel"
!define SESSION_MANAGER "System\CurrentControlSet\Control\Session Manager"
!define HKEY_LOCAL_MACHINE 0x80000002
!define KEY_QUERY_VALUE 0x0001
!define KEY_SET_VALUE 0x0002
!define REG_MULTI_SZ 7

Name "Tessel"
BrandingText "Tessel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tessel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

Var WasRunning ; 1 when this run closed a running Tessel
Var FreshInstall ; 1 when the folder held no Tessel.exe before
Var NewIni ; 1 when the folder held no Tessel.ini before
Var HandOverCopy ; the uninstaller's folder in TEMP while it is to be removed

!define MUI_ICON "${SOURCE}/shell/Tessel.ico"
!define MUI_UNICON "${SOURCE}/shell/Tessel.ico"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PANEL}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tessel.exe"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The first is the fallback; otherwise the user's language chooses.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "Thai"
!include "${SOURCE}/installer/Languages.nsh"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Tessel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tessel Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "The Tessel developers"

; CloseTessel: closes a running Tessel and waits for its process to end (its
; files stay in use until then); sets the error flag when it did not end.
; CloseTesselOrAbort: lets the user retry, or fails the run.
!macro TESSEL_CLOSE_FUNCTIONS un
Function ${un}CloseTessel
    ClearErrors
    FindWindow $1 "TForm1" "Tessel"
    ${If} $1 = 0
        Return
    ${EndIf}
    StrCpy $WasRunning 1
    System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2) i'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r2) p .r3'
    ; A busy Tessel may answer late and still end: only the process counts.
    SendMessage $1 ${WM_SYSCOMMAND} ${SC_CLOSE} 0 /TIMEOUT=5000
    ClearErrors
    System::Call 'kernel32::WaitForSingleObject(p r3, i 15000) i .r4'
    System::Call 'kernel32::CloseHandle(p r3)'
    ${If} $4 <> 0
        SetErrors
    ${EndIf}
FunctionEnd

Function ${un}CloseTesselOrAbort
retry:
    Call ${un}CloseTessel
    ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(TesselDidNotClose)" /SD IDCANCEL IDRETRY retry
        Abort "$(TesselDidNotClose)"
    ${EndIf}
FunctionEnd
!macroend
!insertmacro TESSEL_CLOSE_FUNCTIONS ""
!insertmacro TESSEL_CLOSE_FUNCTIONS "un."

Section "$(SecProgram)" SecProgram
    SectionIn RO
    Call CloseTesselOrAbort
    ${IfNot} ${FileExists} "$INSTDIR\Tessel.exe"
        StrCpy $FreshInstall 1
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\Tessel.ini"
        StrCpy $NewIni 1
    ${EndIf}
    ClearErrors
    !insertmacro TesselInstallFiles
    ${If} ${Errors}
        Abort
    ${EndIf}
    ; The user's settings stay byte for byte: the default goes only where none is.
    SetOutPath "$INSTDIR"
    SetOverwrite off
    File "${STAGE}/Tessel.ini"
    SetOverwrite on
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Tessel.lnk" "$INSTDIR\Tessel.exe"
SectionEnd

Section "$(SecAutostart)" SecAutostart
    WriteRegStr HKCU "${RUN_KEY}" "Tessel" '"$INSTDIR\Tessel.exe" -tray'
SectionEnd

; The programs-list entry comes last: it appears only for a whole install.
Section "-Register"
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        DeleteRegValue HKCU "${RUN_KEY}" "Tessel"
    ${EndIf}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tessel"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tessel.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    SetOutPath "$INSTDIR"
    ${If} $WasRunning = 1
        Exec '"$INSTDIR\Tessel.exe" -tray'
    ${EndIf}
SectionEnd

Function .onInit
    ; A silent install told where to go goes there or fails: NSIS itself would
    ; swap a folder it cannot use (one below a file, say) for the default.
    ${If} ${Silent}
        System::Call 'kernel32::GetCommandLine() t .r0'
        ClearErrors
        ${GetOptions} $0 "/D=" $1
        ${IfNot} ${Errors}
        ${AndIf} $1 != $INSTDIR
        ${AndIf} $1 != "$INSTDIR\"
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOAUTOSTART" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecAutostart}
        Return
    ${EndIf}
    ; An upgrade keeps the user's choice.
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ClearErrors
    ReadRegStr $2 HKCU "${RUN_KEY}" "Tessel"
    ${If} $1 != ""
    ${AndIf} ${Errors}
        !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
FunctionEnd

; A first install that failed takes back what it wrote; an upgrade's files
; cannot be taken back and the previous uninstaller stays usable.
Function .onInstFailed
    ${If} $FreshInstall = 1
        SetOutPath "$TEMP"
        !insertmacro TesselDeleteFiles
        Delete "$INSTDIR\Uninstall.exe"
        Delete "$SMPROGRAMS\Tessel.lnk"
        ${If} $NewIni = 1
            Delete "$INSTDIR\Tessel.ini"
        ${EndIf}
        !insertmacro TesselRemoveFolders
    ${EndIf}
FunctionEnd

; Tessel already runs again after an upgrade: no second start from here.
Function FinishShow
    ${If} $WasRunning = 1
        SendMessage $mui.FinishPage.Run ${BM_SETCHECK} 0 0
        ShowWindow $mui.FinishPage.Run ${SW_HIDE}
    ${EndIf}
FunctionEnd

Section "un.$(SecProgram)" UnSecProgram
    SectionIn RO
    Call un.CloseTesselOrAbort
    ; Out of the folder, so that it can go.
    SetOutPath "$TEMP"
    !insertmacro TesselDeleteFiles
    ; What the suite noted of its calls into pages while it ran: no setting.
    Delete "$INSTDIR\Tessel.run"
    Delete "$INSTDIR\Uninstall.exe"
    Delete "$SMPROGRAMS\Tessel.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "Tessel"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.$(SecSettings)" UnSecSettings
    !insertmacro TesselDeleteSettings
SectionEnd

Section "-un.Folders"
    !insertmacro TesselRemoveFolders
SectionEnd

; The uninstaller started as it lies runs as a copy of itself,
; $TEMP\~nsu<n>.tmp\Un.exe, and the hand-over asked Windows (where the user
; may) to delete that copy and its folder at the next boot. The copy takes
; those requests back at once and removes itself once it has ended.
Function un.onInit
    StrLen $0 "$TEMP\~nsu"
    StrCpy $1 $EXEDIR $0
    ${If} $1 == "$TEMP\~nsu"
    ${AndIf} $EXEFILE == "Un.exe"
        StrCpy $HandOverCopy $EXEDIR
        Push "PendingFileRenameOperations"
        Call un.ForgetHandOverDeletes
        Push "PendingFileRenameOperations2"
        Call un.ForgetHandOverDeletes
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${UnSecSettings}
    ${EndIf}
FunctionEnd

; Takes the deletes of the hand-over copy and of its folder out of one list of
; pending renames, whose value name is on the stack. The list holds pairs of
; wide strings, a "\??\"-prefixed path and its new name (empty: delete it),
; and ends with an empty string. Uses $0-$9 and $R0-$R6.
Function un.ForgetHandOverDeletes
    Pop $R0
    System::Call 'advapi32::RegOpenKeyExW(p ${HKEY_LOCAL_MACHINE}, w "${SESSION_MANAGER}", i 0, \
        i ${KEY_QUERY_VALUE}|${KEY_SET_VALUE}, *p .R1) i .r0'
    ; Who may not change the list could not have asked either.
    ${If} $0 <> 0
        Return
    ${EndIf}
    System::Call 'advapi32::RegQueryValueExW(p R1, w R0, p 0, *i .r1, p 0, *i .r2) i .r0'
    ${If} $0 = 0
    ${AndIf} $1 = ${REG_MULTI_SZ}
        ; Spare zeros end a last string that lacks its own.
        IntOp $3 $2 + 6
        System::Alloc $3
        Pop $3
        System::Call 'advapi32::RegQueryValueExW(p R1, w R0, p 0, p 0, p r3, *i r2 r2) i .r0'
        IntOp $4 $3 + $2 ; the end
        ${If} $0 <> 0
            StrCpy $4 $3
        ${EndIf}
        StrCpy $5 $3 ; the pair read
        StrCpy $6 $3 ; where a kept pair goes
        ${DoWhile} $5 U< $4
            System::Call 'kernel32::lstrlenW(p r5) i .r7'
            ${If} $7 = 0
                ${ExitDo}
            ${EndIf}
            IntOp $8 $7 * 2
            IntOp $8 $5 + $8
            IntOp $8 $8 + 2 ; the new name
            System::Call 'kernel32::lstrlenW(p r8) i .r9'
            IntOp $R2 $9 * 2
            IntOp $R2 $8 + $R2
            IntOp $R2 $R2 + 2 ; the next pair
            StrCpy $R5 1
            ${If} $9 = 0
                System::Call 'kernel32::lstrcmpiW(p r5, w "\??\$EXEPATH") i .R3'
                System::Call 'kernel32::lstrcmpiW(p r5, w "\??\$HandOverCopy") i .R4'
                ${If} $R3 = 0
                ${OrIf} $R4 = 0
                    StrCpy $R5 0
                ${EndIf}
            ${EndIf}
            ${If} $R5 = 1
                IntOp $R6 $R2 - $5
                System::Call 'kernel32::RtlMoveMemory(p r6, p r5, i R6)'
                IntOp $6 $6 + $R6
            ${EndIf}
            StrCpy $5 $R2
        ${Loop}
        ${If} $6 = $5
            ; Unread, or nothing of ours in it: it stays as it is.
        ${ElseIf} $6 = $3
            System::Call 'advapi32::RegDeleteValueW(p R1, w R0)'
        ${Else}
            System::Call 'kernel32::RtlZeroMemory(p r6, i 2)'
            IntOp $7 $6 - $3
            IntOp $7 $7 + 2
            System::Call 'advapi32::RegSetValueExW(p R1, w R0, i 0, i ${REG_MULTI_SZ}, p r3, i r7)'
        ${EndIf}
        System::Free $3
    ${EndIf}
    System::Call 'advapi32::RegCloseKey(p R1)'
FunctionEnd

; Removes the hand-over copy and its folder once the copy has ended: a hidden
; command interpreter tries each second for a minute.
Function un.RemoveHandOverCopy
    ${If} $HandOverCopy != ""
        SetOutPath "$TEMP"
        ExecShell "" "$SYSDIR\cmd.exe" '/d /q /c for /l %i in (1,1,60) do (ping -n 2 127.0.0.1 >nul & \
            del /f /q "$EXEPATH" 2>nul & rd "$HandOverCopy" 2>nul && exit)' SW_HIDE
        StrCpy $HandOverCopy ""
    ${EndIf}
FunctionEnd

; A silent run ends after its sections; the pages end with the window.
Function un.onUninstSuccess
    ${If} ${Silent}
        Call un.RemoveHandOverCopy
    ${EndIf}
FunctionEnd

Function un.onUninstFailed
    ${If} ${Silent}
        Call un.RemoveHandOverCopy
    ${EndIf}
FunctionEnd

Function un.onGUIEnd
    Call un.RemoveHandOverCopy
FunctionEnd
