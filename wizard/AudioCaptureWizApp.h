// CAudioCaptureWizApp: the wizard's application object. All of its work happens
// inside InitInstance: log switch, single-instance test, installation folder and
// settings, modules, the wizard dialog with its nine pages run modally, then
// saving, clean-up and the way back to the starter.
#pragma once
#include "SingleInstance.h"
#include "WinApp.h"

class CAudioCaptureWizApp : public CWinApp {
public:
    BOOL InitInstance() override;   // always FALSE: no message loop follows
    int ExitInstance() override;

    // FALSE when a wizard or recorder dialog is already open (it comes to the front).
    BOOL LoadGlobalValue();
    void LoadModules();
    void LoadSettings();
    void SaveSettings();
    void DeleteTempFiles();
    void OnBackToStarter();
    // Frees what LoadModules loaded (also for tests that load them).
    void FreeModules();

private:
    void InitLog();
    HMODULE m_loadedResource = nullptr;
    HMODULE m_loadedSkin = nullptr;
    CSingleInstance m_instance;
};

// The pages' template ids, in the wizard's page order.
enum WizPageId : UINT {
    PAGE_DEVICE = 129, PAGE_NO_DEVICE = 195, PAGE_SELECT_DEVICE = 203, PAGE_LEVEL = 342,
    PAGE_SETTINGS = 343, PAGE_RECORD = 344, PAGE_NO_WRITER = 196, PAGE_BURNER = 345, PAGE_BURN = 346
};
