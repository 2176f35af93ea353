// The entry fields beside their plain models (tests/core/support/field_models.h)
// on the fuzzer's streams of keys, characters, clicks, pastes, values and
// texts handed in.
#include "fuzz_support.h"
#include "tests/core/support/field_models.h"

using namespace vop::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Require(Drive<AddressRun>(data, size).empty());
    Require(Drive<EditRun>(data, size).empty());
    Require(Drive<PatternRun>(data, size).empty());
    return 0;
}
