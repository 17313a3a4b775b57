; The setup program: the tool, the print service and the two TLS libraries,
; the four files of the release archive, in one folder for every user of the
; computer. The tool and the service both write there (settings, tables, day
; logs, queue), so the default is C:\Quelta and not "Program Files", where a
; standard user's writes fail. scripts/installer.sh builds it with makensis,
; naming with -D:
;   VERSION           the version installed (the uninstall entry shows it)
;   TARGET            x86-unicode for the release; amd64-unicode where the tests
;                     run the 64-bit build
;   FILES             the folder holding the four program files
;   ICON              the tool's icon
;   OUTFILE           the setup program written
;   UNINST_FINALIZE   run on the uninstaller before it is packed ("%1" is its
;                     file): signs it and keeps a copy
;   FINALIZE          run on the finished setup program: signs it
; Upgrade: the print service is stopped (and waited for, as the tool waits)
; before its program is replaced and started again if it was running; the
; restaurant's files are never written. Uninstall: the service removes itself
; (its /UNINSTALL), and the restaurant's files go only when the user says so.
Unicode true
Target ${TARGET}
!uninstfinalize `${UNINST_FINALIZE}` = 0
!finalize `${FINALIZE}` = 0

!define PRODUCT "Quelta Configuração"
!define PUBLISHER "Quelta"
!define SERVICE "QueltaServicoImpressao"
!define UNINSTALLER "desinstalar.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QueltaConfiguracao"
; The tool's limits on the wait for a stopping service.
!define STOP_WAIT_LIMIT_MS 60000
!define STOP_POLL_MINIMUM_MS 100
!define /math STOP_WAIT_LIMIT_S ${STOP_WAIT_LIMIT_MS} / 1000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "C:\Quelta"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1046 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1046 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1046 "FileDescription" "Instalação do ${PRODUCT}"
VIAddVersionKey /LANG=1046 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1046 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1046 "LegalCopyright" "${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "Instalação do ${PRODUCT} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "Este assistente instala o ${PRODUCT} e o serviço de impressão do restaurante.$\r$\n$\r$\nSe eles já estiverem instalados, o serviço de impressão para enquanto os programas são trocados e volta a funcionar em seguida. As impressoras, categorias, produtos, cartões, configurações, o log e a fila do restaurante são mantidos como estão.$\r$\n$\r$\nClique em Próximo para continuar."
!define MUI_FINISHPAGE_RUN "$INSTDIR\queltaConfig.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Abrir o ${PRODUCT}"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "PortugueseBR"

!macro SERVICE_FUNCTIONS UN
; Without an administrator's token (UAC switched off, a standard user) the
; service control manager and the machine's part of the registry refuse
; the setup half-way: it stops before anything is written.
Function ${UN}.onInit
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "É preciso ser administrador deste computador para instalar ou remover o ${PRODUCT}. Nada foi alterado." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
FunctionEnd

; Stops the print service and waits until it reports "stopped", polling
; after its wait hint (at least STOP_POLL_MINIMUM_MS) for STOP_WAIT_LIMIT_MS
; at most; a service that starts up meanwhile is asked again. $R8 gets the
; last state read: 1 when it stopped, 0 when it is not installed.
Function ${UN}StopPrintService
  StrCpy $R8 0
  System::Call 'advapi32::OpenSCManagerW(p 0, p 0, i 1) p.r1'
  ${If} $1 P<> 0
    ; SERVICE_STOP | SERVICE_QUERY_STATUS
    System::Call 'advapi32::OpenServiceW(p r1, w "${SERVICE}", i 36) p.r2'
    ${If} $2 P<> 0
      System::Call '*(i,i,i,i,i,i,i) p.r3'
      System::Call 'kernel32::GetTickCount() i.r5'
      ${Do}
        System::Call 'advapi32::QueryServiceStatus(p r2, p r3) i.r4'
        ${IfThen} $4 = 0 ${|} ${ExitDo} ${|}
        System::Call '*$3(i, i.R8, i, i, i, i, i.r7)'
        ${IfThen} $R8 = 1 ${|} ${ExitDo} ${|}
        ${If} $R8 <> 3
          System::Call 'advapi32::ControlService(p r2, i 1, p r3) i'
        ${EndIf}
        System::Call 'kernel32::GetTickCount() i.r6'
        IntOp $6 $6 - $5
        ${IfThen} $6 >= ${STOP_WAIT_LIMIT_MS} ${|} ${ExitDo} ${|}
        ${IfThen} $7 < ${STOP_POLL_MINIMUM_MS} ${|} StrCpy $7 ${STOP_POLL_MINIMUM_MS} ${|}
        IntOp $6 ${STOP_WAIT_LIMIT_MS} - $6
        ${IfThen} $7 > $6 ${|} StrCpy $7 $6 ${|}
        Sleep $7
      ${Loop}
      System::Free $3
      System::Call 'advapi32::CloseServiceHandle(p r2)'
    ${EndIf}
    System::Call 'advapi32::CloseServiceHandle(p r1)'
  ${EndIf}
FunctionEnd
!macroend
!insertmacro SERVICE_FUNCTIONS ""
!insertmacro SERVICE_FUNCTIONS "un."

; The print service's state through the service control manager: $R9 gets
; the state (4 running, 1 stopped), 0 when the service is not there.
Function QueryPrintService
  StrCpy $R9 0
  System::Call 'advapi32::OpenSCManagerW(p 0, p 0, i 1) p.r1'
  ${If} $1 P<> 0
    System::Call 'advapi32::OpenServiceW(p r1, w "${SERVICE}", i 4) p.r2'
    ${If} $2 P<> 0
      System::Call '*(i,i,i,i,i,i,i) p.r3'
      System::Call 'advapi32::QueryServiceStatus(p r2, p r3) i.r4'
      ${If} $4 <> 0
        System::Call '*$3(i, i.R9)'
      ${EndIf}
      System::Free $3
      System::Call 'advapi32::CloseServiceHandle(p r2)'
    ${EndIf}
    System::Call 'advapi32::CloseServiceHandle(p r1)'
  ${EndIf}
FunctionEnd

Function StartPrintService
  System::Call 'advapi32::OpenSCManagerW(p 0, p 0, i 1) p.r1'
  ${If} $1 P<> 0
    ; SERVICE_START
    System::Call 'advapi32::OpenServiceW(p r1, w "${SERVICE}", i 16) p.r2'
    ${If} $2 P<> 0
      System::Call 'advapi32::StartServiceW(p r2, i 0, p 0) i'
      System::Call 'advapi32::CloseServiceHandle(p r2)'
    ${EndIf}
    System::Call 'advapi32::CloseServiceHandle(p r1)'
  ${EndIf}
FunctionEnd

; Gives up the install, nothing written: the service runs again if it ran.
Function CancelUnchanged
  Pop $0
  ${If} $R9 = 4
    Call StartPrintService
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP "$0$\r$\n$\r$\nNada foi alterado." /SD IDOK
  SetErrorLevel 2
  Quit
FunctionEnd

; Whether the program file $0 of the folder can be written. The stopped
; service's process may still be ending: its file is tried again for the
; stop's time limit; any other is asked about at once.
Function CheckReplaceable
  ${IfNot} ${FileExists} "$INSTDIR\$0"
    Return
  ${EndIf}
  System::Call 'kernel32::GetTickCount() i.r5'
retry:
  ClearErrors
  FileOpen $1 "$INSTDIR\$0" a
  ${IfNot} ${Errors}
    FileClose $1
    Return
  ${EndIf}
  System::Call 'kernel32::GetTickCount() i.r6'
  IntOp $6 $6 - $5
  ${If} $0 == "queltaService.exe"
  ${AndIf} $6 < ${STOP_WAIT_LIMIT_MS}
    Sleep ${STOP_POLL_MINIMUM_MS}
    Goto retry
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$INSTDIR\$0 está em uso e não pode ser trocado. Feche o ${PRODUCT} e clique em Repetir." /SD IDCANCEL IDRETRY retry
  Push "$INSTDIR\$0 está em uso e não pode ser trocado."
  Call CancelUnchanged
FunctionEnd
!macro CHECK_REPLACEABLE NAME
  StrCpy $0 "${NAME}"
  Call CheckReplaceable
!macroend

Section "Programas"
  SetShellVarContext all
  Call QueryPrintService
  ${If} $R9 <> 0
  ${AndIf} $R9 <> 1
    DetailPrint "Parando o serviço de impressão..."
    Call StopPrintService
    ${If} $R8 <> 1
      Push "O serviço de impressão não parou em ${STOP_WAIT_LIMIT_S} segundos, e o programa dele não pode ser trocado com ele funcionando."
      Call CancelUnchanged
    ${EndIf}
  ${EndIf}
  ; A program still open (the tool, say) keeps its file: found before
  ; anything is written, so no half of the programs is replaced.
  !insertmacro CHECK_REPLACEABLE "queltaService.exe"
  !insertmacro CHECK_REPLACEABLE "queltaConfig.exe"
  !insertmacro CHECK_REPLACEABLE "libeay32.dll"
  !insertmacro CHECK_REPLACEABLE "ssleay32.dll"
  CreateDirectory "$INSTDIR"
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${FILES}\queltaConfig.exe"
  File "${FILES}\queltaService.exe"
  File "${FILES}\libeay32.dll"
  File "${FILES}\ssleay32.dll"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\queltaConfig.exe" "" "$INSTDIR\queltaConfig.exe" 0
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\queltaConfig.exe" "" "$INSTDIR\queltaConfig.exe" 0

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\queltaConfig.exe"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0

  ${If} $R9 = 4
    DetailPrint "Iniciando o serviço de impressão..."
    Call StartPrintService
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  StrCpy $R7 1
  MessageBox MB_YESNO|MB_ICONQUESTION "Manter nesta pasta os arquivos do restaurante (impressoras, categorias, produtos, cartões, configurações, log, fila e pacotes de suporte)?$\r$\n$\r$\nCom eles, uma nova instalação na mesma pasta volta a imprimir como antes." /SD IDYES IDYES keep
  StrCpy $R7 0
keep:
  DetailPrint "Parando e removendo o serviço de impressão..."
  Call un.StopPrintService
  ${If} ${FileExists} "$INSTDIR\queltaService.exe"
    ExecWait '"$INSTDIR\queltaService.exe" /UNINSTALL /SILENT'
  ${EndIf}

  Delete "$INSTDIR\queltaConfig.exe"
  Delete "$INSTDIR\queltaService.exe"
  Delete "$INSTDIR\libeay32.dll"
  Delete "$INSTDIR\ssleay32.dll"
  ; The update's work folder holds program files only.
  RMDir /r "$INSTDIR\update"
  ${If} $R7 = 0
    Delete "$INSTDIR\quelta.dll"
    Delete "$INSTDIR\impressora"
    Delete "$INSTDIR\categoria"
    Delete "$INSTDIR\produto"
    Delete "$INSTDIR\cartao"
    Delete "$INSTDIR\fila"
    Delete "$INSTDIR\diagnostico-*.zip"
    RMDir /r "$INSTDIR\log"
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: whatever else is in it stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
