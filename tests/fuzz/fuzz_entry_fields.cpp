// The entry fields beside their plain models (tests/core/support/field_models.h)
// on the fuzzer's streams of keys, characters, clicks, pastes and texts.
#include "fuzz_support.h"
#include "tests/core/support/field_models.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Require(vop::test::DriveAll(string(data, data + size)) == "");
    return 0;
}
