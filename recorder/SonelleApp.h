// CSonelleApp: the recorder's application object. All of its work happens inside
// InitInstance: modules, settings, the single-instance test, the main dialog run
// modally, then saving, clean-up and the way back to the starter.
#pragma once
#include "SingleInstance.h"
#include "WinApp.h"

class CSonelleApp : public CWinApp {
public:
    CSonelleApp();

    BOOL InitInstance() override;   // always FALSE: no message loop follows
    int ExitInstance() override;

    void InitLog();
    void OpenLog();
    void LoadAppPath();
    void LoadModules();
    BOOL CheckRunning();
    void LoadSettings();
    void CheckFilterRegistration();
    void SaveSettings();
    void DeleteTempFiles();

private:
    CSingleInstance m_instance;
};

void OnBackToStarter();
