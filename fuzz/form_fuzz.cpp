#include "fuzz_support.h"
#include "transitions/TransEff.h"
#include "transitions/teForm.h"

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzz::EnsureApplication();
    TTransitionList list;
    try {
        ReadTransitionList(QString::fromUtf8(fuzz::Bytes(data, size)), &list);
    } catch (const ETransitionError &) {
    }
    return 0;
}
