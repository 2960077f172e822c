#include "DShowUtil.h"
#include "EngineTestSupport.h"
#include "GraphDump.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphDump, WritesTheChainBehindTheSourceDepthFirst)
{
    CGraphFixture g;
    CTempWav wav;
    CDShowUtil util;
    util.Init(g.graph, g.builder);
    CTestChain chain;
    ASSERT_EQ(S_OK, chain.Build(util, wav.Path(), L"Null \x0416"));

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
