// libFuzzer driver of one entry; FUZZ_ENTRY names it.
#include "fuzz/entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::FUZZ_ENTRY(data, size);
    return 0;
}
