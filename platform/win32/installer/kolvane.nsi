; Kolvane's Windows installer: kolvane.scr into the system folder, its sounds, help and uninstaller into Program Files.
; Built by CMake (target `installer`): makensis -DVERSION=x.y.z -DSCR=kolvane.scr -DASSETS=assets -DHELP=kolvane.html
;   -DOUTFILE=kolvane-setup-x.y.z.exe kolvane.nsi
; /S installs or uninstalls silently, with every default (Kolvane becomes the current screen saver). Either ends
; with exit code 0 only when every file is in place (or gone); otherwise 2, with the uninstaller and the Apps entry
; kept while any installed file remains.

!macro Required Symbol
  !ifndef ${Symbol}
    !error "makensis -D${Symbol}=... is required"
  !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required SCR
!insertmacro Required ASSETS
!insertmacro Required HELP
!insertmacro Required OUTFILE

; A 64-bit installer: $SYSDIR is then the 64-bit system folder, where the display settings list a 64-bit .scr.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Kolvane Screen Saver"
!define PUBLISHER "Dravik Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolvane"
; The program's settings, where it reads install_path (the folder of title.wav and the default sounds): the user's
; own under HKCU, and under HKLM the value for every user of the machine who has none.
!define SETTINGS_APP_KEY "Software\VB and VBA Program Settings\Dravik Kolvane"
!define SETTINGS_KEY "${SETTINGS_APP_KEY}\Config"
; The title of the running scene's window; its process holds kolvane.scr open.
!define SCENE_TITLE "screen saver running"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kolvane"
; The system folder and Program Files need an administrator.
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\kolvane.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the help page"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Every file of the installation folder, once for putting down and once for taking away, so the two never differ.
!macro InstallFolderFiles Action
  !insertmacro ${Action} "title.wav" "${ASSETS}/sounds/title.wav"
  !insertmacro ${Action} "orvel1.wav" "${ASSETS}/sounds/orvel1.wav"
  !insertmacro ${Action} "orvel2.wav" "${ASSETS}/sounds/orvel2.wav"
  !insertmacro ${Action} "orvel3.wav" "${ASSETS}/sounds/orvel3.wav"
  !insertmacro ${Action} "orvel4.wav" "${ASSETS}/sounds/orvel4.wav"
  !insertmacro ${Action} "orvel5.wav" "${ASSETS}/sounds/orvel5.wav"
  !insertmacro ${Action} "orvel6.wav" "${ASSETS}/sounds/orvel6.wav"
  !insertmacro ${Action} "orvel7.wav" "${ASSETS}/sounds/orvel7.wav"
  !insertmacro ${Action} "orvel8.wav" "${ASSETS}/sounds/orvel8.wav"
  !insertmacro ${Action} "orvel9.wav" "${ASSETS}/sounds/orvel9.wav"
  !insertmacro ${Action} "nebula-drift.mid" "${ASSETS}/music/nebula-drift.mid"
  !insertmacro ${Action} "orbit-lullaby.mid" "${ASSETS}/music/orbit-lullaby.mid"
  !insertmacro ${Action} "kolvane.html" "${HELP}"
!macroend
; Each file is checked: one that cannot be written (or removed) ends the run with exit code 2, never a success.
!macro PutDown Name Source
  ClearErrors
  File "/oname=${Name}" "${Source}"
  ${If} ${Errors}
    Push "$OUTDIR\${Name}"
    Call Failed
  ${EndIf}
!macroend
!macro TakeAway Name Source
  !insertmacro Remove "$INSTDIR\${Name}"
!macroend
!macro Remove Path
  ClearErrors
  Delete "${Path}"
  ${If} ${Errors}
  ${OrIf} ${FileExists} "${Path}"
    Push "${Path}"
    Call un.Failed
  ${EndIf}
!macroend

; The program reads install_path with the system's code page: a folder whose name that page cannot spell would be
; read as another, missing one. Error flag set for such a folder.
Function CheckFolderName
  ClearErrors
  ; WC_NO_BEST_FIT_CHARS: a letter the page lacks becomes the default character, never a look-alike.
  System::Call 'kernel32::WideCharToMultiByte(i 0, i 0x400, w "$INSTDIR", i -1, m .r1, i ${NSIS_MAX_STRLEN}, p 0, *i .r2) i .r0'
  ${If} $0 = 0
  ${OrIf} $2 <> 0
    SetErrors
  ${Else}
    StrCmpS $1 $INSTDIR +2
    SetErrors
  ${EndIf}
FunctionEnd
!define FOLDER_NAME_REFUSED "Kolvane cannot be installed into a folder whose name has letters outside the system's code \
page:$\r$\n$INSTDIR$\r$\nPlease choose a folder named with other letters."

Function DirectoryLeave
  Call CheckFolderName
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "${FOLDER_NAME_REFUSED}"
    Abort
  ${EndIf}
FunctionEnd

; Failed and CloseRunningScene, for the installer and (un.) the uninstaller.
!macro Helpers Un
  ; Ends the run: the file on the stack could not be written or removed.
  Function ${Un}Failed
    Exch $0
    SetDetailsView show
    DetailPrint "Could not write or remove $0"
    MessageBox MB_OK|MB_ICONSTOP "Could not write or remove$\r$\n$0$\r$\nA program may be using it. \
Close it, then run this again." /SD IDOK
    SetErrorLevel 2
    Abort
  FunctionEnd

  ; A running scene holds kolvane.scr: it is asked to end, as another program closing its window would (with a
  ; password it asks for that first and stays). Ends the run when it is still there and nobody retries.
  Function ${Un}CloseRunningScene
    Push $0
    Push $1
    Push $2
    retry:
    StrCpy $2 0
    find:
    System::Call 'user32::FindWindowW(p 0, w "${SCENE_TITLE}") p .r0'
    ${If} $0 P<> 0
    ${AndIf} $2 < 10
      ${If} $2 = 0
        DetailPrint "Asking the running screen saver to end"
      ${EndIf}
      System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
      ; Its process, not only its window, must be gone before its file can be replaced.
      System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
      System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r1'
      ${If} $1 P<> 0
        System::Call 'kernel32::WaitForSingleObject(p r1, i 1000)'
        System::Call 'kernel32::CloseHandle(p r1)'
      ${Else}
        Sleep 1000
      ${EndIf}
      IntOp $2 $2 + 1
      Goto find
    ${EndIf}
    ${If} $0 P<> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "The Kolvane screen saver is running and did not end when asked \
(it may be waiting for its password).$\r$\nEnd it, then choose Retry." /SD IDCANCEL IDRETRY retry
      DetailPrint "The running screen saver did not end"
      SetErrorLevel 2
      Abort
    ${EndIf}
    Pop $2
    Pop $1
    Pop $0
  FunctionEnd
!macroend
!insertmacro Helpers ""
!insertmacro Helpers "un."

Function .onInit
  SetRegView 64
  ${If} ${Silent}
    Call CheckFolderName
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "${FOLDER_NAME_REFUSED}" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Kolvane screen saver" SectionProgram
  SectionIn RO
  Call CloseRunningScene
  ; The uninstaller and the Apps entry first, so that whatever part of the files lands can be taken away again.
  SetOutPath "$INSTDIR"
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    Push "$INSTDIR\uninstall.exe"
    Call Failed
  ${EndIf}
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  SetOverwrite try
  !insertmacro InstallFolderFiles PutDown
  SetOutPath "$SYSDIR"
  !insertmacro PutDown "kolvane.scr" "${SCR}"

  ; With the trailing backslash the program keeps its folders with: for the installing user, and for every other
  ; user of the machine (an administrator's HKCU is not theirs).
  WriteRegStr HKCU "${SETTINGS_KEY}" "install_path" "$INSTDIR\"
  WriteRegStr HKLM "${SETTINGS_KEY}" "install_path" "$INSTDIR\"

  ; In kilobytes, the screen saver in the system folder included.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "$SYSDIR" "/M=kolvane.scr /S=0K /G=0" $3 $1 $2
  IntOp $0 $0 + $3
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Make Kolvane the current screen saver" SectionCurrent
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\kolvane.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; SPI_SETSCREENSAVEACTIVE, saved and announced, so the desktop follows without a new sign-in.
  System::Call "user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)"
SectionEnd

Section "Uninstall"
  Call un.CloseRunningScene
  ; The screen saver first: while it cannot go, everything stays as installed.
  !insertmacro Remove "$SYSDIR\kolvane.scr"
  ; A screen saver setting that names the removed file would leave the display settings pointing at nothing.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$SYSDIR"
  ${If} $0 == "$SYSDIR\kolvane.scr"
  ${OrIf} $0 == "$1\kolvane.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  !insertmacro InstallFolderFiles TakeAway
  ; The uninstaller and the Apps entry last: they stay while any installed file does. Run in place (_?=), the
  ; uninstaller is its caller's to remove.
  GetFullPathName /SHORT $0 "$EXEPATH"
  GetFullPathName /SHORT $1 "$INSTDIR\uninstall.exe"
  ${If} $0 != $1
    !insertmacro Remove "$INSTDIR\uninstall.exe"
  ${EndIf}
  ; Only when empty: anything the user put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegValue HKLM "${SETTINGS_KEY}" "install_path"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${SETTINGS_APP_KEY}"
  ; Each user's own settings (install_path among them) and list files stay, for a later installation.
SectionEnd
