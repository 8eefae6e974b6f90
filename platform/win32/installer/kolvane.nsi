; Kolvane's Windows installer: kolvane.scr into the system folder, its sounds, help and uninstaller into Program Files.
; Built by CMake (target `installer`): makensis -DVERSION=x.y.z -DSCR=kolvane.scr -DASSETS=assets -DHELP=kolvane.html
;   -DOUTFILE=kolvane-setup-x.y.z.exe kolvane.nsi
; /S installs or uninstalls silently, with every default (Kolvane becomes the current screen saver).

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

!define PRODUCT "Kolvane Screen Saver"
!define PUBLISHER "Dravik Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolvane"
; The program's settings, where it reads install_path (the folder of title.wav and the default sounds).
!define SETTINGS_KEY "Software\VB and VBA Program Settings\Dravik Kolvane\Config"
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
!macro PutDown Name Source
  File "/oname=${Name}" "${Source}"
!macroend
!macro TakeAway Name Source
  Delete "$INSTDIR\${Name}"
!macroend

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Kolvane screen saver" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro InstallFolderFiles PutDown
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetOutPath "$SYSDIR"
  File "/oname=kolvane.scr" "${SCR}"

  ; For the installing user, with the trailing backslash the program keeps its folders with.
  WriteRegStr HKCU "${SETTINGS_KEY}" "install_path" "$INSTDIR\"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
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
  ; A screen saver setting that names the removed file would leave the display settings pointing at nothing.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$SYSDIR\kolvane.scr"
  ${If} $0 == "$SYSDIR\kolvane.scr"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  Delete "$SYSDIR\kolvane.scr"
  !insertmacro InstallFolderFiles TakeAway
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: anything the user put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The user's settings (install_path among them) and list files stay, for a later installation.
SectionEnd
