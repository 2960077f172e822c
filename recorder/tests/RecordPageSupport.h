// The Record page hosted in the test process: the main dialog's page frame with
// the page on the sandbox's fed capture device, the settings it reads, a record
// folder of its own, and helpers that pump the page's messages.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include "DSoundEnumerator.h"
#include "DriverPump.h"
#include "NewWizDialog.h"
#include "PageCapture.h"

// The page with its controls in reach of the tests.
class TestPage : public CPageCapture {
public:
    using CPageCapture::m_barLeft;
    using CPageCapture::m_barRight;
    using CPageCapture::m_graphLeft;
    using CPageCapture::m_graphRight;
    using CPageCapture::m_level;
    using CPageCapture::m_list;
    using CPageCapture::m_nLimitSeconds;
    using CPageCapture::m_nLevelTimer;
};

using drv::Pump;
using drv::PumpUntil;
// Posts a click of a control of the page as its button would.
void Click(CWnd& page, int id);
// Text of a control of the page.
std::wstring Text(CWnd& page, int id);

// Presses a button of the first dialog ("#32770") this process shows within the
// time, from a helper thread; the dialog's text is kept for the test.
class CDialogAnswerer {
public:
    CDialogAnswerer(int buttonId, DWORD timeoutMs);
    ~CDialogAnswerer() { if (m_thread.joinable()) m_thread.join(); }
    bool Answered()
    {
        if (m_thread.joinable()) m_thread.join();
        return m_answered;
    }

private:
    std::atomic<bool> m_answered{false};
    std::thread m_thread;
};

// A device-interface removal broadcast for a device path.
std::vector<BYTE> RemovalBroadcast(const std::wstring& devicePath);

// Answers every message box of this process with OK from a helper thread and
// keeps their texts.
class CMessageBoxAnswerer {
public:
    CMessageBoxAnswerer();
    // `seen` runs on the answering thread while the box still stands (before OK).
    explicit CMessageBoxAnswerer(std::function<void(const std::wstring& text)> seen);
    ~CMessageBoxAnswerer();
    std::vector<std::wstring> Texts();

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::wstring> m_texts;
    std::function<void(const std::wstring&)> m_seen;
    CRITICAL_SECTION m_lock;
    std::thread m_thread;
};

// Interface paths of two made-up USB capture devices: the first is the fed device.
extern const wchar_t* const kFedUsbPath;
extern const wchar_t* const kOtherUsbPath;
extern const wchar_t* const kFedUsbVidPid;
// DirectSound's view with the two USB devices (CDSoundEnumerator::SetDeviceSource).
void FakeUsbDevices(CDSoundEnumerator& enumerator);

class RecordPageFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    // Shows the page and waits until it opened its device.
    bool Open(DWORD timeoutMs = 8000);

    CNewWizDialog host{102};
    TestPage page;
    std::wstring folder;   // the record folder, ending in "\"
};
