; The Windows installer of koyomivw: one per bitness, from the same script.
;
;   makensis -DPROGRAM_DIR=<folder> [-DBITS=64] [-DOUTFILE=<file>] koyomivw.nsi
;
; PROGRAM_DIR is the Windows program folder of that bitness (koyomivw.exe, the help and home
; pages, the sample service, the artwork); everything in it is installed, and the marker
; koyomivw-installed beside it tells the program it is an installed copy, which keeps each
; user's data in AppData\Roaming\koyomivw. Takes /S (silent) and /D=<folder>; installs per
; machine into the Program Files folder of its bitness, and asks for elevation.

Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef PROGRAM_DIR
    !error "PROGRAM_DIR is not defined: makensis -DPROGRAM_DIR=<the Windows program folder>"
!endif
!ifndef BITS
    !define BITS 32
!endif
!if "${BITS}" != "32"
    !if "${BITS}" != "64"
        !error "BITS is ${BITS}: 32 or 64"
    !endif
!endif

!define ROOT "${__FILEDIR__}/../.."
!define VERSION "1.02"
!define PUBLISHER "the koyomivw developers"
!define MENU_NAME "JRA 年間開催スケジュール"
!define MARKER "koyomivw-installed"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\koyomivw"
!ifndef OUTFILE
    !define OUTFILE "koyomivw-${VERSION}-win${BITS}-setup.exe"
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

Name "${MENU_NAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
!if "${BITS}" == "64"
    InstallDir "$PROGRAMFILES64\koyomivw"
!else
    InstallDir "$PROGRAMFILES\koyomivw"
!endif

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "${MENU_NAME}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "koyomivw ${VERSION} (${BITS} ビット版) のインストーラー"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "MIT License, ${PUBLISHER}"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${ROOT}/LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; The 32-bit and the 64-bit copy each have their own entry, in the registry view of their bitness.
!macro UseRegistryView
    !if "${BITS}" == "64"
        SetRegView 64
    !else
        SetRegView 32
    !endif
!macroend

!macro CheckMachine
    !if "${BITS}" == "64"
        ${IfNot} ${RunningX64}
            MessageBox MB_OK|MB_ICONSTOP "この koyomivw は 64 ビット版の Windows 用です。32 ビット版の koyomivw をお使いください。" /SD IDOK
            Quit
        ${EndIf}
    !endif
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "admin"
        MessageBox MB_OK|MB_ICONSTOP "インストールとアンインストールには管理者の権限が必要です。" /SD IDOK
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
!macroend

; Whether $0 (a folder) holds anything: sets $1 to 1 when it does, else 0.
Function FolderHoldsAnything
    StrCpy $1 0
    FindFirst $2 $3 "$0\*.*"
    ${DoWhile} $3 != ""
        ${If} $3 != "."
        ${AndIf} $3 != ".."
            StrCpy $1 1
            ${Break}
        ${EndIf}
        FindNext $2 $3
    ${Loop}
    FindClose $2
FunctionEnd

Function .onInit
    !insertmacro CheckMachine
    !insertmacro UseRegistryView
FunctionEnd

Section "koyomivw"
    ; The uninstaller removes the whole folder, so it is only ever one that holds an earlier
    ; copy of koyomivw or nothing at all.
    ${IfNot} ${FileExists} "$INSTDIR\${MARKER}"
        StrCpy $0 $INSTDIR
        Call FolderHoldsAnything
        ${If} $1 == 1
            MessageBox MB_OK|MB_ICONSTOP "フォルダ $INSTDIR には他のファイルがあります。空のフォルダか新しいフォルダを選んでください。" /SD IDOK
            SetErrorLevel 2
            Quit
        ${EndIf}
    ${EndIf}

    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${PROGRAM_DIR}/*"
    File "${ROOT}/packaging/${MARKER}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\${MENU_NAME}.lnk" "$INSTDIR\koyomivw.exe"

    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${MENU_NAME} (koyomivw ${BITS} ビット版)"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\koyomivw.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
    !insertmacro CheckMachine
    !insertmacro UseRegistryView
FunctionEnd

; The install location of the other bitness's copy into $0, empty when there is none: the
; 32-bit and the 64-bit copy may both be installed, and share the one Start-menu entry.
!macro FindOtherCopy
    !if "${BITS}" == "64"
        SetRegView 32
    !else
        SetRegView 64
    !endif
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    !insertmacro UseRegistryView
    ; On 32-bit Windows both views are this copy's own.
    ${If} $0 == $INSTDIR
    ${OrIfNot} ${FileExists} "$0\koyomivw.exe"
        StrCpy $0 ""
    ${EndIf}
!macroend

Section "Uninstall"
    SetShellVarContext all
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; The entry goes with the last copy; while the other stays installed it starts that one.
    !insertmacro FindOtherCopy
    ${If} $0 == ""
        Delete "$SMPROGRAMS\${MENU_NAME}.lnk"
    ${Else}
        CreateShortcut "$SMPROGRAMS\${MENU_NAME}.lnk" "$0\koyomivw.exe"
    ${EndIf}
    ; Only a folder this installer made, which holds nothing of the users: their year files
    ; and settings are in their own AppData.
    ${If} ${FileExists} "$INSTDIR\${MARKER}"
        RMDir /r "$INSTDIR"
    ${EndIf}
    MessageBox MB_OK|MB_ICONINFORMATION "年間スケジュールのファイルと設定は各ユーザーの AppData\Roaming\koyomivw に残っています。不要なら削除してください。" /SD IDOK
SectionEnd
