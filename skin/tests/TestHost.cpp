#include "TestHost.h"

namespace testhost {
BEGIN_MESSAGE_MAP(Host, CWnd)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()
}
