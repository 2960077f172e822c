// CSonelleStarterApp: the starter's application object. Everything happens in
// InitInstance: the single-instance test, the modules, the component check and
// the starter dialog run modally.
#pragma once
#include "SingleInstance.h"
#include "WinApp.h"

class CSonelleStarterApp : public CWinApp {
public:
    BOOL InitInstance() override;  // always FALSE: no message loop follows
    int ExitInstance() override;

    // FALSE when a wizard, recorder or starter window was found (and brought to
    // the front); else reads the installation folder.
    BOOL CheckRunning();
    void LoadModules();
    void CheckFilterRegistration();

private:
    HMODULE m_loadedResource = nullptr;
    HMODULE m_loadedSkin = nullptr;
    CSingleInstance m_instance;
};
