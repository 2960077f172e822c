#include "DShowUtil.h"
#include "EngineTestSupport.h"
#include "GraphDump.h"
#include "PlatformGuids.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphDump, WritesTheChainBehindTheSourceDepthFirst)
{
    CGraphFixture g;
    CTempWav wav;
    CDShowUtil util;
    util.Init(g.graph, g.builder);
    CComPtr<IBaseFilter> source, parser, tee, nullA, nullB;
    // Added in an order that does not put the source first.
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_NullRenderer, &nullB, L"Null B"));
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_SmartTee, &tee, L"Smart Tee"));
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_WAVEParser, &parser, L"Wave Parser"));
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_AsyncReader, &source, L"Source"));
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_NullRenderer, &nullA, L"Null \x0416"));
    CComQIPtr<IFileSourceFilter> file(source);
    ASSERT_EQ(S_OK, file->Load(wav.Path(), nullptr));
    ASSERT_EQ(S_OK, util.ConnectFilters(source, 0, parser, 0));
    ASSERT_EQ(S_OK, util.ConnectFiltersDirect(parser, 0, tee, 0));
    ASSERT_EQ(S_OK, util.ConnectFiltersDirect(tee, 0, nullA, 0));
    ASSERT_EQ(S_OK, util.ConnectFiltersDirect(tee, 1, nullB, 0));

    CLogCapture log;
    CGraphDump dump;
    dump.Dump(g.graph);
    const std::vector<std::string> expected = {
        "FILTER : ===[Wave Parser]===", "FILTER : ===[Smart Tee]===",
        "FILTER : ===[Null ?]===", "FILTER : ===[Null B]==="};
    EXPECT_EQ(expected, log.Lines());
}

TEST(GraphDump, GraphWithoutSourceOrWithAPinlessOne)
{
    CGraphFixture g;
    CDShowUtil util;
    util.Init(g.graph, g.builder);
    CLogCapture log;
    CGraphDump dump;

    // Only a renderer: every filter has an input pin.
    CComPtr<IBaseFilter> renderer;
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_NullRenderer, &renderer, L"Null"));
    dump.Dump(g.graph);
    EXPECT_EQ(std::vector<std::string>{"Fail to find source filter"}, log.Lines());

    // Wine's audio capture filter has no pins at all: it counts as the source
    // and nothing follows it.
    g.graph->RemoveFilter(renderer);
    CComPtr<IBaseFilter> capture;
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_AudioRecord, &capture, L"Capture"));
    dump.Dump(g.graph);
    EXPECT_EQ(std::vector<std::string>{"Fail to find source filter"}, log.Lines());
}

}  // namespace
