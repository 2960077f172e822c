#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>
#include "NVCoreAudio.h"
#include "TopologyDouble.h"

namespace {

std::string Ansi(const std::wstring& w)
{
    char row[CNVCoreAudio::NameBytes] = {};
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, row, sizeof row - 1, nullptr, nullptr);
    return row;
}

// Answers the message boxes this process shows while it lives and keeps their texts.
class CMessageBoxAnswerer {
public:
    CMessageBoxAnswerer()
        : m_thread([this] {
              while (!m_stop) {
                  HWND box = nullptr;
                  while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
                      DWORD pid = 0;
                      GetWindowThreadProcessId(box, &pid);
                      if (pid != GetCurrentProcessId() || !IsWindowVisible(box)) continue;
                      wchar_t text[256] = {};
                      GetDlgItemTextW(box, 0xFFFF, text, 256);
                      texts.push_back(text);
                      PostMessageW(box, WM_COMMAND, IDOK, 0);
                      Sleep(200);
                  }
                  Sleep(20);
              }
          })
    {
    }
    ~CMessageBoxAnswerer() { Stop(); }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    std::vector<std::wstring> texts;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Two render endpoints with paths of their own. The first:
//   software (Software_IO) -> C -> B -> A -> adapter -> endpoint, with the controls
//   two steps beside A (through M1: "Master Volume" 20, an unnamed mute 21) and
//   beside B (through M2: the same mute again, "Wave Volume" 22).
// The second: a mute 31 and a volume 30, ending at an external connector that is
// connected to nothing (an abnormal end).
struct TwoPaths {
    std::shared_ptr<CTopologyPath> first = std::make_shared<CTopologyPath>();
    std::shared_ptr<CTopologyPath> second = std::make_shared<CTopologyPath>();
    TopologyNode *masterVolume, *sharedMute, *waveVolume, *speakerMute, *speakerVolume;

    TwoPaths()
    {
        CTopologyPath& p = *first;
        TopologyNode* a = p.Subunit(L"Sum A", TopologyNodeSum, 1);
        TopologyNode* b = p.Subunit(L"Sum B", TopologyNodeSum, 2);
        TopologyNode* c = p.Subunit(L"Sum C", TopologyNodeSum, 3);
        TopologyNode* software = p.Connector(L"Wave", Software_IO, 4);
        TopologyNode* m1 = p.Subunit(L"Mixer 1", TopologyNodeSum, 5);
        TopologyNode* m2 = p.Subunit(L"Mixer 2", TopologyNodeSum, 6);
        masterVolume = p.Subunit(L"Master Volume", TopologyNodeVolume, 20);
        sharedMute = p.Subunit(L"", TopologyNodeMute, 21);
        waveVolume = p.Subunit(L"Wave Volume", TopologyNodeVolume, 22);
        CTopologyPath::Feeds(a, p.Adapter());
        CTopologyPath::Feeds(b, a);
        CTopologyPath::Feeds(m1, a);
        CTopologyPath::Feeds(c, b);
        CTopologyPath::Feeds(m2, b);
        CTopologyPath::Feeds(software, c);
        CTopologyPath::Feeds(masterVolume, m1);
        CTopologyPath::Feeds(sharedMute, m1);
        CTopologyPath::Feeds(sharedMute, m2);
        CTopologyPath::Feeds(waveVolume, m2);

        CTopologyPath& q = *second;
        TopologyNode* s = q.Subunit(L"Speaker Sum", TopologyNodeSum, 1);
        TopologyNode* mid = q.Subunit(L"Speaker Mixer", TopologyNodeSum, 2);
        TopologyNode* jack = q.Connector(L"Line Jack", Physical_External, 3);
        speakerMute = q.Subunit(L"Speaker Mute", TopologyNodeMute, 31);
        speakerVolume = q.Subunit(L"Speaker Volume", TopologyNodeVolume, 30);
        CTopologyPath::Feeds(s, q.Adapter());
        CTopologyPath::Feeds(mid, s);
        CTopologyPath::Feeds(jack, s);
        CTopologyPath::Feeds(speakerMute, mid);
        CTopologyPath::Feeds(speakerVolume, mid);
        // The walk goes to the jack first: make it the first incoming part.
        std::swap(s->incoming[0], s->incoming[1]);
    }
};

class CoreAudioDouble : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(topology.Ok());
        render = topology.WineEndpoints(0);
        ASSERT_GE(render.size(), 2u) << "the sandbox has two sinks and Wine's default";
        topology.paths[render[0]] = paths.first;
        topology.paths[render[1]] = paths.second;
    }
    CTopologyDouble topology;
    TwoPaths paths;
    std::vector<std::wstring> render;
};

} // namespace

TEST(CoreAudioOnWine, ListsPulseAudioEndpointsByTheirDescriptions)
{
    CNVCoreAudio audio;
    ASSERT_TRUE(audio.MakeCaptureDeviceLists());
    int count = 0;
    CNVCoreAudio::Name* names = nullptr;
    audio.getPlaybackDeviceLists(&count, &names);
    ASSERT_GE(count, 2);
    std::vector<std::string> playback(names, names + count);
    EXPECT_NE(std::find(playback.begin(), playback.end(), "Sonelle_Monitor_Out"), playback.end());
    audio.getRecordingDeviceLists(&count, &names);
    ASSERT_GE(count, 1);
    std::vector<std::string> recording(names, names + count);
    EXPECT_NE(std::find(recording.begin(), recording.end(), "Monitor of Sonelle_Capture_Feed"), recording.end());

    CNVCoreAudio::Name name;
    memset(name, 'x', sizeof name);
    EXPECT_TRUE(audio.getDefaultDeviceName(0, &name));
    EXPECT_STREQ("PulseAudio", name);
    // Wine has no device topology.
    EXPECT_FALSE(audio.MakeChannelList(0, 0));
    audio.getChannelLists(0, &count, &names);
    EXPECT_EQ(0, count);
}

TEST_F(CoreAudioDouble, ListsThePathsControlsAgainstATable)
{
    CNVCoreAudio audio;
    ASSERT_TRUE(audio.ReInitialize());
    struct Expect { DWORD kind; int device; std::vector<std::string> names; };
    Expect table[] = {
        {0, 0, {"Unknown name 1", "Unknown name 0"}},
        {1, 0, {"Master Volume", "Wave Volume"}},
        {0, 1, {"Speaker Mute"}},
        {1, 1, {"Speaker Volume"}},
    };
    for (const Expect& e : table) {
        SCOPED_TRACE(testing::Message() << "kind " << e.kind << " device " << e.device);
        CMessageBoxAnswerer answerer;
        ASSERT_TRUE(audio.MakeChannelList(0, e.device));
        answerer.Stop();
        if (e.device == 1) {
            ASSERT_EQ(1u, answerer.texts.size());
            EXPECT_EQ(L"Reached end of path abnormally", answerer.texts[0]);
        } else {
            EXPECT_TRUE(answerer.texts.empty());
        }
        int count = -1;
        CNVCoreAudio::Name* names = nullptr;
        audio.getChannelLists(e.kind, &count, &names);
        ASSERT_EQ((int)e.names.size(), count);
        for (int i = 0; i < count; ++i) EXPECT_EQ(e.names[(size_t)i], names[i]);
    }
    // Local ids reach the controls: mute item 0 and 1 are the same control (21).
    ASSERT_TRUE(audio.MakeChannelList(0, 0));
    int mute = -1;
    EXPECT_TRUE(audio.AdjustChannelitemMute(0, 0, 1, 0, &mute));
    EXPECT_EQ(0, mute);
    mute = 1;
    EXPECT_TRUE(audio.AdjustChannelitemMute(0, 0, 0, 1, &mute));
    EXPECT_EQ(TRUE, paths.sharedMute->mute);
    mute = -1;
    EXPECT_TRUE(audio.AdjustChannelitemMute(0, 0, 1, 0, &mute));
    EXPECT_EQ(1, mute);

    int untouched = 7;
    int count = 5;
    CNVCoreAudio::Name* names = reinterpret_cast<CNVCoreAudio::Name*>(&untouched);
    audio.getChannelLists(2, &count, &names);
    EXPECT_EQ(5, count);
    EXPECT_EQ(reinterpret_cast<CNVCoreAudio::Name*>(&untouched), names);

    // A copy keeps the lists.
    CNVCoreAudio copy(audio);
    copy.getChannelLists(1, &count, &names);
    EXPECT_EQ(2, count);
    EXPECT_STREQ("Master Volume", names[0]);
    CNVCoreAudio assigned;
    assigned = audio;
    assigned.getPlaybackDeviceLists(&count, &names);
    EXPECT_EQ(Ansi(render[0]), names[0]);
}

TEST_F(CoreAudioDouble, MuteItemsThatCannotBeReachedGiveFalse)
{
    CNVCoreAudio audio;
    ASSERT_TRUE(audio.ReInitialize());
    ASSERT_TRUE(audio.MakeChannelList(0, 0));
    int mute = 42;
    EXPECT_FALSE(audio.AdjustChannelitemMute(1, 0, 0, 0, &mute)) << "capture items are not adjusted";
    EXPECT_FALSE(audio.AdjustChannelitemMute(0, 0, 2, 0, &mute)) << "past the list";
    EXPECT_FALSE(audio.AdjustChannelitemMute(0, 0, -1, 0, &mute));
    {
        CMessageBoxAnswerer answerer;
        EXPECT_FALSE(audio.AdjustChannelitemMute(0, 1, 0, 0, &mute)) << "not on the other endpoint's path";
    }
    EXPECT_EQ(42, mute);
    paths.sharedMute->localId = 0;
    ASSERT_TRUE(audio.MakeChannelList(0, 0));
    EXPECT_FALSE(audio.AdjustChannelitemMute(0, 0, 0, 1, &mute)) << "local id 0";
    EXPECT_EQ(0, paths.sharedMute->muteSets);
}

TEST_F(CoreAudioDouble, ItemVolumesFollowTheLevelCurve)
{
    CNVCoreAudio audio;
    ASSERT_TRUE(audio.ReInitialize());
    ASSERT_TRUE(audio.MakeChannelList(0, 0));
    TopologyNode* v = paths.masterVolume;   // -96 .. 0 dB in steps of 0.5
    struct Read { float level; DWORD value; } reads[] = {{-96, 0}, {-48, 1}, {-24, 23}, {0, 316}};
    for (const Read& r : reads) {
        v->levels = {r.level, r.level};
        DWORD value = 9999;
        EXPECT_TRUE(audio.AdjustChannelitemVolume(0, 0, 0, 0, &value));
        EXPECT_EQ(r.value, value) << r.level;
    }
    struct Set { DWORD value; int steps; } sets[] = {{0, 0}, {1, 80}, {9, 89}, {11, 4}, {50, 69}, {100, 100}, {316, 100}};
    for (const Set& s : sets) {
        DWORD value = s.value;
        EXPECT_TRUE(audio.AdjustChannelitemVolume(0, 0, 0, 1, &value));
        for (float level : v->levels) EXPECT_EQ(s.steps, (int)std::lround((level + 96) / 96 * 100)) << s.value;
    }
    EXPECT_EQ(0, paths.waveVolume->levelSets) << "only the item's own control";

    v->minimumDb = v->maximumDb = 0;
    DWORD value = 50;
    EXPECT_FALSE(audio.AdjustChannelitemVolume(0, 0, 0, 1, &value)) << "an empty range";
    EXPECT_FALSE(audio.AdjustChannelitemVolume(0, 0, 0, 0, &value));
    EXPECT_FALSE(audio.AdjustChannelitemVolume(1, 0, 0, 0, &value));
}

TEST_F(CoreAudioDouble, ListsHoldAtMost29ItemsAnd14Endpoints)
{
    // Forty mutes beside one subunit of the first path.
    TopologyNode* a = paths.first->Adapter()->incoming[0];
    TopologyNode* m = paths.first->Subunit(L"Many", TopologyNodeSum, 50);
    CTopologyPath::Feeds(m, a);
    for (UINT i = 0; i < 40; ++i)
        CTopologyPath::Feeds(paths.first->Subunit((L"Mute " + std::to_wstring(i)).c_str(), TopologyNodeMute, 100 + i), m);
    // Names longer than a row are cut and terminated.
    paths.masterVolume->name = std::wstring(200, L'V');
    topology.addedRender = 15 - (int)render.size();

    CNVCoreAudio audio;
    ASSERT_TRUE(audio.ReInitialize());
    int count = 0;
    CNVCoreAudio::Name* names = nullptr;
    audio.getPlaybackDeviceLists(&count, &names);
    EXPECT_EQ(14, count);
    EXPECT_EQ("Added Endpoint " + std::to_string(14 - render.size()), names[13]);
    audio.getChannelLists(0, &count, &names);
    EXPECT_EQ(29, count);
    audio.getChannelLists(1, &count, &names);
    ASSERT_EQ(2, count);
    EXPECT_EQ(std::string(124, 'V'), names[0]);
}

TEST_F(CoreAudioDouble, WithoutCaptureEndpointsTheListsStayPartial)
{
    topology.hideCapture = true;
    CNVCoreAudio audio;
    EXPECT_FALSE(audio.ReInitialize());
    int count = 0;
    CNVCoreAudio::Name* names = nullptr;
    audio.getPlaybackDeviceLists(&count, &names);
    EXPECT_EQ((int)render.size(), count);
    audio.getRecordingDeviceLists(&count, &names);
    EXPECT_EQ(0, count);
    audio.getChannelLists(0, &count, &names);
    EXPECT_EQ(0, count);
    CNVCoreAudio::Name name = "untouched";
    EXPECT_FALSE(audio.getDefaultDeviceName(1, &name));
    EXPECT_STREQ("untouched", name);
    int mute = 0;
    EXPECT_FALSE(audio.AdjustRecordingDeviceMasterMute(0, 0, &mute));
}

TEST_F(CoreAudioDouble, MasterMuteAndVolumeKeepTheirValuesPerEndpoint)
{
    topology.defaultRender = render[1];
    CNVCoreAudio audio;
    int mute = 1;
    EXPECT_TRUE(audio.AdjustExclusiveMasterMute(1, &mute));
    EXPECT_EQ(TRUE, topology.endpointVolumes[render[1]].mute);
    EXPECT_EQ(FALSE, topology.endpointVolumes[render[0]].mute);
    mute = -1;
    EXPECT_TRUE(audio.AdjustExclusiveMasterMute(0, &mute));
    EXPECT_EQ(1, mute);
    DWORD volume = 0;
    for (DWORD set = 0; set <= 100; ++set) {
        volume = set;
        EXPECT_TRUE(audio.AdjustExclusiveMasterVolume(1, &volume));
        volume = 999;
        EXPECT_TRUE(audio.AdjustExclusiveMasterVolume(0, &volume));
        EXPECT_EQ(set, volume) << "read back as set";
    }
    volume = 250;
    EXPECT_TRUE(audio.AdjustRecordingDeviceMasterVolume(1, 0, &volume)) << "kept within the platform's range";
    EXPECT_TRUE(audio.AdjustRecordingDeviceMasterVolume(0, 0, &volume));
    EXPECT_EQ(100u, volume);
    mute = 1;
    EXPECT_TRUE(audio.AdjustRecordingDeviceMasterMute(1, 0, &mute));
    mute = 0;
    EXPECT_TRUE(audio.AdjustRecordingDeviceMasterMute(0, 0, &mute));
    EXPECT_EQ(1, mute);
    EXPECT_FALSE(audio.AdjustRecordingDeviceMasterMute(0, 99, &mute));
}

// Wine's session volume answers but keeps nothing; its endpoint volume cannot be set.
TEST(CoreAudioOnWine, SessionVolumeAnswersAndEndpointVolumeCannotBeSet)
{
    CNVCoreAudio audio;
    DWORD volume = 50;
    EXPECT_TRUE(audio.AdjustSharedMasterVolume(1, &volume));
    volume = 0;
    EXPECT_TRUE(audio.AdjustSharedMasterVolume(0, &volume));
    EXPECT_LE(volume, 100u);
    int mute = 0;
    EXPECT_TRUE(audio.AdjustSharedMasterMute(0, &mute));
    volume = 30;
    EXPECT_FALSE(audio.AdjustExclusiveMasterVolume(1, &volume)) << "Wine answers E_NOTIMPL";
}
