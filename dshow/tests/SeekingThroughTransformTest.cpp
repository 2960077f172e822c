// A transform of the kit between the platform's WAVE parser and a sink: the
// samples pulled from the file arrive whole, and IMediaSeeking asked of the
// transform's output pin is answered by the parser upstream.
#include "PlatformGuids.h"
#include "TestGraph.h"
#include "TestSink.h"
#include "TransInPlaceFilter.h"
#include <gtest/gtest.h>
#include <initguid.h>
#include <cstdio>
#include <string>
#include <vector>

// {5E0C7A31-2C4B-4B7E-9D1F-6A3B2C1D0E12}
DEFINE_GUID(CLSID_PassFilter, 0x5e0c7a31, 0x2c4b, 0x4b7e, 0x9d, 0x1f, 0x6a, 0x3b, 0x2c, 0x1d, 0x0e, 0x12);

namespace {

class CPassFilter : public CTransInPlaceFilter {
public:
    CPassFilter() : CTransInPlaceFilter(L"Pass", CLSID_PassFilter, false) {}
    HRESULT CheckInputType(const CMediaType* in) override { return in->majortype == MEDIATYPE_Audio ? S_OK : E_FAIL; }
    HRESULT Transform(IMediaSample*) override { return S_OK; }
};

std::wstring WriteWav(const std::vector<BYTE>& pcm, WORD channels, DWORD rate, WORD bits)
{
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"kit", 0, path);
    FILE* f = _wfopen(path, L"wb");
    auto u32 = [&](DWORD v) { fwrite(&v, 4, 1, f); };
    auto u16 = [&](WORD v) { fwrite(&v, 2, 1, f); };
    fwrite("RIFF", 1, 4, f);
    u32(DWORD(36 + pcm.size()));
    fwrite("WAVEfmt ", 1, 8, f);
    u32(16);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * channels * bits / 8);
    u16(WORD(channels * bits / 8));
    u16(bits);
    fwrite("data", 1, 4, f);
    u32(DWORD(pcm.size()));
    fwrite(pcm.data(), 1, pcm.size(), f);
    fclose(f);
    return path;
}

TEST(SeekingThroughTransform, ParserAnswersThroughTheTransformAndEveryByteArrives)
{
    std::vector<BYTE> pcm(44100 * 4);   // one second, 16-bit stereo
    for (size_t i = 0; i < pcm.size(); i++)
        pcm[i] = BYTE(i * 13 + (i >> 9));
    std::wstring path = WriteWav(pcm, 2, 44100, 16);

    {
        CTestGraph graph;
        ASSERT_TRUE(graph.Ok());
        CComPtr<IBaseFilter> source, parser;
        ASSERT_EQ(S_OK, graph.Graph()->AddSourceFilter(path.c_str(), L"file", &source));
        ASSERT_EQ(S_OK, parser.CoCreateInstance(CLSID_WAVEParser));
        ASSERT_EQ(S_OK, graph.Add(parser, L"parser"));
        ASSERT_EQ(S_OK, graph.ConnectDirect(source, parser));
        CComPtr<CPassFilter> pass;
        pass = new CPassFilter;
        CComPtr<CTestSink> sink;
        sink.Attach(CTestSink::Create());
        graph.Add(pass, L"pass");
        graph.Add(sink, L"sink");
        ASSERT_EQ(S_OK, graph.ConnectDirect(parser, pass));
        ASSERT_EQ(S_OK, graph.ConnectDirect(pass, sink));

        CComPtr<IPin> out;
        ASSERT_EQ(S_OK, pass->FindPin(L"Output", &out));
        CComQIPtr<IMediaSeeking> seeking(out.p);
        ASSERT_TRUE(seeking);
        LONGLONG duration = 0;
        ASSERT_EQ(S_OK, seeking->GetDuration(&duration));
        EXPECT_EQ(10000000, duration);
        GUID format = GUID_NULL;
        EXPECT_EQ(S_OK, seeking->GetTimeFormat(&format));
        EXPECT_EQ(TIME_FORMAT_MEDIA_TIME, format);

        EXPECT_EQ(EC_COMPLETE, graph.RunToCompletion(20000));
        EXPECT_EQ(pcm, sink->Bytes());
        graph.Stop();
    }
    DeleteFileW(path.c_str());
}

}  // namespace
