#include "UnregisteredClass.h"
#include "TestComObject.h"

namespace {

class CRefusingFactory : public CTestComObject<IClassFactory> {
public:
    CRefusingFactory() : CTestComObject<IClassFactory>(IID_IClassFactory) {}
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** ppv) override
    {
        if (ppv) *ppv = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace

CUnregisteredClass::CUnregisteredClass(REFCLSID clsid)
{
    m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CRefusingFactory* factory = new CRefusingFactory;
    factory->AddRef();
    if (FAILED(CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie)))
        m_cookie = 0;
    factory->Release();   // COM holds it while registered
}

CUnregisteredClass::~CUnregisteredClass()
{
    if (m_cookie) CoRevokeClassObject(m_cookie);
    if (m_com) CoUninitialize();
}
