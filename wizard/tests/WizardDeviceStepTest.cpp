// The device step through device lists of our own making: which input Next
// chooses, the selection page's list, no input at all, a video device with
// sound, the level and settings steps on the fed device, and removed devices.
#include "AudioCaptureWizApp.h"
#include "CaptureDevice.h"
#include "DeviceEnumOverride.h"
#include "FakeCaptureBox.h"
#include "Driver.h"
#include "FakeCaptureDevices.h"
#include "ModuleLoader.h"
#include "TestSignal.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include "WizardTestSupport.h"
#include <gtest/gtest.h>
#include <dbt.h>
#include <uuids.h>

using namespace wiztest;

namespace {

class DeviceStep : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const wchar_t* m : {L"SonelleCapture.ax", L"Vossel.ax", L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax"})
            ASSERT_TRUE(testsignal::RegisterModule(m)) << m;
    }
    void SetUp() override { ResetWizardGlobals(); }
    void TearDown() override
    {
        CaptureDevice().Close();
        g_WizProduct = WizProduct{};
    }
};

// The combo box entries of the selection page with their item data.
std::vector<std::pair<std::wstring, LRESULT>> ListEntries(HWND combo)
{
    std::vector<std::pair<std::wstring, LRESULT>> entries;
    int count = (int)SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        wchar_t text[200] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, (LPARAM)text);
        entries.emplace_back(text, SendMessageW(combo, CB_GETITEMDATA, i, 0));
    }
    return entries;
}

// A device-interface broadcast of removal with the given name, `extra` bytes
// counted in its size beyond the header.
std::vector<BYTE> RemovalBroadcast(const std::wstring& name)
{
    const size_t offset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    std::vector<BYTE> bytes(offset + (name.size() + 1) * sizeof(wchar_t));
    auto* b = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
    b->dbcc_size = (DWORD)bytes.size();
    b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    memcpy(b->dbcc_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    return bytes;
}

}  // namespace

TEST_F(DeviceStep, NextTakesTheRifboxInAnyLetterCaseAndTheListShowsItSelected)
{
    CFakeDeviceList devices({{L"USB Audio Rifbox", CLSID_AudioInputDeviceCategory}});
    ASSERT_TRUE(devices.Ok());
    lstrcpyW(g_WizSettings.szAudioDeviceName, L"An Earlier Device");
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    wizard.dialog.OnWizardNext();
    EXPECT_EQ(203u, wizard.Active());
    EXPECT_STREQ(L"USB Audio Rifbox", g_WizSettings.szAudioDeviceName);
    EXPECT_EQ(L"Step 1-2. Select Your Audio Capture Device", drv::ControlText(wizard.dialog.m_hWnd, 1001));
    HWND combo = GetDlgItem(wizard.pages->selectDevice.m_hWnd, CSelectDevice::IDC_DEVICE_LIST);
    wchar_t selected[200] = {};
    SendMessageW(combo, CB_GETLBTEXT, SendMessageW(combo, CB_GETCURSEL, 0, 0), (LPARAM)selected);
    EXPECT_STREQ(L"USB Audio Rifbox", selected);
}

TEST_F(DeviceStep, WithoutARifboxTheFirstAudioInputReplacesTheSavedName)
{
    wchar_t names[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
    ASSERT_GT(CCaptureDevice::GetAudioDeviceNames(names), 0);
    lstrcpyW(g_WizSettings.szAudioDeviceName, L"An Earlier Device");
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    EXPECT_TRUE(wizard.pages->step1.DetectDevice());
    EXPECT_STREQ(names[0], g_WizSettings.szAudioDeviceName);
}

// With the USB device search on, a capture box is looked for when no RIFBOX is
// there: the box itself when it has sound (opened as a video device, its
// crossbar routed to composite), else the USB audio input beside it.
TEST_F(DeviceStep, TheUsbSearchTakesACaptureBoxOrTheUsbAudioBesideIt)
{
    g_WizProduct.kind = 1;
    g_WizProduct.usbDeviceSearch = true;
    CComPtr<IBaseFilter> crossbar = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    {
        FakeBoxSpec box;
        box.crossbars = {crossbar};
        FakeDeviceSpec device{L"USB2.0 KAPBOX Capture", CLSID_VideoInputDeviceCategory};
        device.make = [box] { return CreateFakeCaptureBox(box).Detach(); };
        CFakeDeviceList devices({device});
        ASSERT_TRUE(devices.Ok());
        HostedWizard wizard;
        ASSERT_TRUE(wizard.Ok());
        EXPECT_TRUE(wizard.pages->step1.DetectDevice());
        EXPECT_STREQ(L"USB2.0 KAPBOX Capture", g_WizSettings.szAudioDeviceName);
        EXPECT_EQ(3, CaptureDevice().GetDeviceMode()) << "the box's own sound, through its video filter";
        EXPECT_FALSE(CrossbarRouteLog(crossbar).empty());
        CaptureDevice().Close();
    }
    {
        FakeBoxSpec silentBox;
        silentBox.audioPin = false;
        FakeDeviceSpec device{L"USB2.0 KAPBOX Capture", CLSID_VideoInputDeviceCategory};
        device.make = [silentBox] { return CreateFakeCaptureBox(silentBox).Detach(); };
        CFakeDeviceList devices({device, {L"USB Audio Of The Box", CLSID_AudioInputDeviceCategory}});
        ASSERT_TRUE(devices.Ok());
        HostedWizard wizard;
        ASSERT_TRUE(wizard.Ok());
        EXPECT_TRUE(wizard.pages->step1.DetectDevice());
        EXPECT_STREQ(L"USB Audio Of The Box", g_WizSettings.szAudioDeviceName);
        EXPECT_EQ(4, CaptureDevice().GetDeviceMode()) << "a USB audio input is heard";
    }
}

TEST_F(DeviceStep, WithNoAudioInputAtAllNextLeadsToTheNoDevicePage)
{
    CDeviceEnumOverride none([](REFCLSID category, MonikerList& list) {
        if (IsEqualGUID(category, CLSID_AudioInputDeviceCategory) || IsEqualGUID(category, CLSID_VideoInputDeviceCategory))
            list.clear();
    });
    ASSERT_TRUE(none.Ok());
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    wizard.dialog.OnWizardNext();
    EXPECT_EQ(195u, wizard.Active());
    EXPECT_STREQ(L"", g_WizSettings.szAudioDeviceName);
    EXPECT_EQ(L"Information", drv::ControlText(wizard.dialog.m_hWnd, 1001));
    EXPECT_TRUE(Shown(wizard.dialog.m_hWnd, CNewWizDialog::ID_WIZFINISH));
    wizard.dialog.OnWizardBack();
    EXPECT_EQ(129u, wizard.Active());
}

TEST_F(DeviceStep, AVideoDeviceWithSoundIsListedLastAndKnownAsVideo)
{
    CFakeDeviceList devices({{L"Fake Video Box", CLSID_VideoInputDeviceCategory}});
    ASSERT_TRUE(devices.Ok());
    lstrcpyW(g_WizSettings.szAudioDeviceName, L"Fake Video Box");
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->selectDevice));
    auto entries = ListEntries(GetDlgItem(wizard.pages->selectDevice.m_hWnd, CSelectDevice::IDC_DEVICE_LIST));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(L"Fake Video Box", entries.back().first);
    EXPECT_EQ(1, entries.back().second);
    for (size_t i = 0; i + 1 < entries.size(); ++i) EXPECT_EQ(0, entries[i].second) << i;
    EXPECT_TRUE(wizard.pages->selectDevice.m_bVideoDevice);
}

TEST_F(DeviceStep, TheDeviceListDropsToShowItsEntries)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->selectDevice));
    HWND combo = GetDlgItem(wizard.pages->selectDevice.m_hWnd, CSelectDevice::IDC_DEVICE_LIST);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    // All of a few inputs, at least eight of many (the rest by scrolling).
    const struct { int entries, rows; } cases[] = {{4, 4}, {12, 8}};
    for (const auto& c : cases) {
        while ((int)SendMessageW(combo, CB_GETCOUNT, 0, 0) < c.entries)
            SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)L"Line In (High Definition Audio Device)");
        EXPECT_GE(drv::DroppedRows(combo), c.rows) << c.entries << " entries";
    }
}

TEST_F(DeviceStep, ARefusedChoiceSaysSoAndTheOpenDeviceComesBackSelected)
{
    lstrcpyW(g_WizSettings.szAudioDeviceName, testsignal::CaptureDeviceName);
    CFakeDeviceList devices({{L"Refusing Box", CLSID_AudioInputDeviceCategory, BufferSuggestion::NotOffered}});
    ASSERT_TRUE(devices.Ok());
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->selectDevice));
    ASSERT_TRUE(CaptureDevice().m_bInit) << "the saved device is opened and monitored";
    CSelectDevice& page = wizard.pages->selectDevice;
    HWND combo = GetDlgItem(page.m_hWnd, CSelectDevice::IDC_DEVICE_LIST);

    // A name that the enumerator no longer lists cannot be opened.
    int added = (int)SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)L"Unplugged Device");
    SendMessageW(combo, CB_SETITEMDATA, added, 0);
    SendMessageW(combo, CB_SETCURSEL, added, 0);
    BoxAnswerer answer(IDOK, 20000);
    page.OnSelectDevice();
    EXPECT_EQ(L"Device not compatible. Please select another device.", answer.Wait());
    EXPECT_STREQ(testsignal::CaptureDeviceName, g_WizSettings.szAudioDeviceName);
    EXPECT_TRUE(CaptureDevice().m_bInit) << "the device that was open is open again";
    wchar_t selected[200] = {};
    SendMessageW(combo, CB_GETLBTEXT, SendMessageW(combo, CB_GETCURSEL, 0, 0), (LPARAM)selected);
    EXPECT_STREQ(testsignal::CaptureDeviceName, selected);
}

TEST_F(DeviceStep, SettingsSliderShowsTheStrengthAroundZero)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->step3));
    CStep3Dlg& page = wizard.pages->step3;
    EXPECT_FALSE(page.m_slider.IsEnabled()) << "noise reduction starts off";
    const struct {
        int position;
        const wchar_t* text;
    } cases[] = {{0, L"-15.0"}, {150, L"0.0"}, {300, L"15.0"}, {75, L"-7.5"}};
    for (const auto& c : cases) {
        page.m_slider.SetPos(c.position);
        SendMessageW(page.m_hWnd, WM_SLIDER_RELEASED, CStep3Dlg::IDC_SLIDER, c.position);
        EXPECT_EQ(CString(c.text), page.m_levelText.GetText()) << c.position;
        EXPECT_EQ(c.position, g_WizSettings.nNoiseReductionValue);
    }
    SendMessageW(page.m_noiseCheck.m_hWnd, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(CStep3Dlg::IDC_NOISE_CHECK, BN_CLICKED),
                 (LPARAM)page.m_noiseCheck.m_hWnd);
    EXPECT_TRUE(g_WizSettings.bNoiseReduction);
    EXPECT_TRUE(page.m_slider.IsEnabled());
    wizard.dialog.OnWizardNext();
    EXPECT_EQ(344u, wizard.Active());
    EXPECT_EQ(75, g_WizSettings.nNoiseReductionValue) << "kept when the page is left";
}

TEST_F(DeviceStep, AFolderWithoutWriteAccessIsRefusedWithItsPath)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->step3));
    const CString before = g_WizSettings.strRecordFolder;
    BoxAnswerer answer(IDOK, 20000);
    EXPECT_FALSE(wizard.pages->step3.AcceptFolder(L"Q:\\No Such Drive"));
    EXPECT_EQ(L"You do not have permissions to save in this directory.\n\n\"Q:\\No Such Drive\"", answer.Wait());
    EXPECT_EQ(before, g_WizSettings.strRecordFolder);

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    CString folder(temp);
    folder = folder.Left(folder.GetLength() - 1);
    EXPECT_TRUE(wizard.pages->step3.AcceptFolder(folder));
    EXPECT_EQ(CString(temp), g_WizSettings.strRecordFolder) << "stored with its \\";
}

struct IdentityCase {
    const wchar_t* name;
    const wchar_t* identity;
};

TEST_F(DeviceStep, RemovedDeviceIdentityIsCutFromTheInterfaceName)
{
    const IdentityCase cases[] = {
        {L"\\\\?\\usb#vid_0d8c&pid_000c&mi_00#6&2a5b&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global",
         L"VID_0D8C&PID_000C"},
        {L"\\\\?\\USB#VID_1234&PID_5678", L"VID_1234&PID_5678"},
        {L"\\\\?\\USB#VID_1234&PID_56", L""},
        {L"\\\\?\\USB#VID_1234#{65e8773d-8f56-11d0-a3b9-00a0c9223196}PID_5678", L""},
        {L"\\\\?\\root#media#0000", L""},
    };
    for (const IdentityCase& c : cases) {
        std::vector<BYTE> b = RemovalBroadcast(c.name);
        EXPECT_EQ(CString(c.identity), CNewWizPage::RemovedDeviceIdentity(b.data())) << c.name;
    }
    // The name is read only as far as the broadcast says it reaches.
    std::vector<BYTE> cut = RemovalBroadcast(L"\\\\?\\USB#VID_1234&PID_5678");
    auto* b = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(cut.data());
    b->dbcc_size -= 3 * sizeof(wchar_t);
    EXPECT_EQ(CString(L""), CNewWizPage::RemovedDeviceIdentity(cut.data()));
    DEV_BROADCAST_HDR volume = {sizeof(volume), DBT_DEVTYP_VOLUME, 0};
    EXPECT_EQ(CString(L""), CNewWizPage::RemovedDeviceIdentity(&volume));
}

TEST_F(DeviceStep, RemovingAnotherDeviceChangesNothing)
{
    lstrcpyW(g_WizSettings.szAudioDeviceName, testsignal::CaptureDeviceName);
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->selectDevice));
    ASSERT_TRUE(CaptureDevice().m_bInit);
    std::vector<BYTE> b = RemovalBroadcast(L"\\\\?\\USB#VID_9999&PID_9999#x#{65e8773d-8f56-11d0-a3b9-00a0c9223196}");
    SendMessageW(wizard.dialog.m_hWnd, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, (LPARAM)b.data());
    EXPECT_TRUE(CaptureDevice().m_bInit);
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(GetCurrentProcessId(), 300).window);
}

TEST_F(DeviceStep, ARemovedDeviceIsClosedWithOneMessageFromTheBurnTextModule)
{
    lstrcpyW(g_WizSettings.szAudioDeviceName, testsignal::CaptureDeviceName);
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->step2));
    ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->selectDevice));
    ASSERT_TRUE(CaptureDevice().m_bInit);
    {
        BoxAnswerer answer(IDOK, 20000);
        wizard.pages->selectDevice.OnDeviceRemoved();
        EXPECT_EQ(L"The USB device has been disconnected.", answer.Wait());
        EXPECT_EQ(std::wstring((const wchar_t*)g_szWindowTitle), answer.title);
    }
    EXPECT_FALSE(CaptureDevice().m_bInit);
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(GetCurrentProcessId(), 300).window) << "one message";

    g_hBurnTextModule = LoadLibraryW((drv::OwnFolder() + L"testmodules\\SonelleExtra3.dll").c_str());
    ASSERT_NE(nullptr, g_hBurnTextModule);
    BoxAnswerer answer(IDOK, 20000);
    wizard.pages->selectDevice.OnDeviceRemoved();
    EXPECT_EQ(L"The capture box was unplugged.", answer.Wait());
    FreeLibrary(g_hBurnTextModule);
    g_hBurnTextModule = nullptr;
}
