// The entry fields (and the pattern rows, as a pair) driven by any stream of
// key presses, characters, clicks, pastes and values handed in and read out,
// against their plain models: the checks of the native tests
// (tests/core/support/field_models.h) on the fuzzer's streams.
#include "fuzz_support.h"
#include "tests/core/support/field_models.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Require(vop::test::AddressFieldAgainstModel(data, size).empty() && vop::test::EditFieldAgainstModel(data, size).empty() &&
            vop::test::PatternFieldsAgainstModel(data, size).empty());
    return 0;
}
