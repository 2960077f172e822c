// FindAudioOutPin looks at each output pin's first media type only.
#include "DShowUtil.h"
#include "EngineTestSupport.h"
#include "Source.h"

#include <gtest/gtest.h>

namespace {

const CLSID CLSID_TwoTypeSource = {0x6b1e2c90, 0x31d4, 0x4c0a, {0x9e, 0x52, 0x17, 0x0d, 0x8a, 0x44, 0x21, 0x01}};

// An output pin that lists the given types in order and never streams.
class CListingPin : public CSourceStream {
public:
    CListingPin(CSource* filter, const wchar_t* name, std::vector<CMediaType> types)
        : CSourceStream(filter, name), m_types(std::move(types)) {}
    HRESULT FillBuffer(IMediaSample*) override { return S_FALSE; }
    HRESULT DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES*) override { return E_FAIL; }
    HRESULT CheckMediaType(const CMediaType*) override { return E_FAIL; }
    HRESULT GetMediaType(int position, CMediaType* mt) override
    {
        if (position < 0) return E_INVALIDARG;
        if (position >= (int)m_types.size()) return VFW_S_NO_MORE_ITEMS;
        *mt = m_types[position];
        return S_OK;
    }

private:
    std::vector<CMediaType> m_types;
};

CMediaType TypeOf(const GUID& major)
{
    CMediaType mt;
    mt.majortype = major;
    return mt;
}

class CListingSource : public CSource {
public:
    explicit CListingSource(const std::vector<std::vector<CMediaType>>& pins) : CSource(L"Listing", CLSID_TwoTypeSource)
    {
        int n = 0;
        for (const auto& types : pins)
            new CListingPin(this, (L"Out" + std::to_wstring(n++)).c_str(), types);
    }
};

TEST(FindAudioOutPin, LooksAtTheFirstTypeOfEachOutputPin)
{
    CGraphFixture g;
    CDShowUtil util;
    util.Init(g.graph, g.builder);
    const CMediaType audio = TypeOf(MEDIATYPE_Audio), video = TypeOf(MEDIATYPE_Video);
    const struct { const char* name; std::vector<std::vector<CMediaType>> pins; int expected; } cases[] = {
        {"audio first", {{audio}, {video}}, 0},
        {"audio behind a video type is passed over", {{video, audio}, {audio}}, 1},
        {"no types on the first pin", {{}, {audio, video}}, 1},
        {"no audio anywhere", {{video}, {video, audio}}, -1},
        {"no pins", {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CComPtr<IBaseFilter> filter(new CListingSource(c.pins));
        EXPECT_EQ(c.expected, util.FindAudioOutPin(filter));
    }
}

}  // namespace
