#include "TempMap.h"
#include <vector>

namespace framework_detail {
namespace {
std::vector<void (*)()>& Cleaners()
{
    static thread_local std::vector<void (*)()> cleaners;
    return cleaners;
}
} // namespace

void RegisterTempMapCleaner(void (*cleaner)()) { Cleaners().push_back(cleaner); }

} // namespace framework_detail

void AfxDeleteTempMaps()
{
    for (auto cleaner : framework_detail::Cleaners()) cleaner();
}
