// The two entry fields driven by any run of key presses, characters, clicks
// and values set and read back: after every step each caret is on one of its
// field's positions, the count is within capacity, one glyph stands at each
// position, and a value read back is the value set, within the field's room.
#include <fuzzer/FuzzedDataProvider.h>

#include "dialogs/address_field_model.h"
#include "dialogs/edit_field_model.h"
#include "fuzz_support.h"

using namespace vop;

static void Check(const EditFieldState& e, const AddressFieldState& a, std::int32_t capacity) {
    const std::int32_t n = EditFieldValueLength(e), positions = EditFieldPositions(e);
    const auto glyphs = EditFieldGlyphs(e), digits = AddressFieldGlyphs(a);  // hex: two digits a byte, then 'h'
    Require(n >= 0 && n <= e.length && positions == (e.hexMode ? 2 * n : n) && e.caretPos >= 0 &&
            e.caretPos < std::max(positions, 1) && glyphs.size() == std::size_t(e.hexMode ? positions + 1 : positions));
    Require(a.capacity == capacity && a.count >= 0 && a.count <= capacity && a.caretPos >= 0 &&
            a.caretPos <= std::min(a.count, capacity - 1) && digits.size() == static_cast<std::size_t>(a.count));
    for (std::size_t i = 0; i < glyphs.size(); ++i) Require(glyphs[i].x == FieldPositionX(int(i)));
    for (std::size_t i = 0; i < digits.size(); ++i) Require(digits[i].x == FieldPositionX(int(i)) && a.digits[i] < 16);
}

// First the edit field's mode, wrap, length and block, and the address field's
// capacity; then steps of an operation, its argument and the bytes of a value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::uint8_t hexMode = in.ConsumeIntegral<std::uint8_t>(), wrap = in.ConsumeIntegral<std::uint8_t>();
    EditFieldState edit = MakeEditFieldState(hexMode, wrap, in.ConsumeIntegralInRange(-2, 20));
    edit.bytes.resize(std::min<std::size_t>(edit.bytes.size(), in.ConsumeIntegral<std::uint8_t>()));  // a short block
    const std::int32_t room = in.ConsumeIntegralInRange(-2, 10), capacity = std::clamp(room, 1, AddressFieldRoom);
    AddressFieldState addr = MakeAddressFieldState(room);
    while (in.remaining_bytes() > 0) {
        const unsigned op = in.ConsumeIntegralInRange(0u, 5u), arg = in.ConsumeIntegral<std::uint16_t>();
        const std::size_t n = op == 3 ? static_cast<std::size_t>(EditFieldValueLength(edit)) : AddressFieldRoom;
        Bytes put = in.ConsumeBytes<std::uint8_t>(op == 3 || op == 5 ? n : 0), got(n);
        put.resize(n);
        std::int32_t count = -1;
        if (op == 0) EditFieldKeyDown(edit, arg);
        if (op == 1) EditFieldChar(edit, arg);
        if (op == 2) EditFieldClick(edit, arg);
        if (op == 3) { EditFieldSetValue(edit, put.data()); EditFieldGetValue(edit, got.data()); Require(got == put); }
        if (op == 4) AddressFieldKeyDown(addr, arg);
        if (op == 5) AddressFieldSetDigits(addr, arg % 12, put.data());
        if (op == 5) AddressFieldGetDigits(addr, got.data(), &count);
        // The digits set read back kept to 0..15, as many as there is room for.
        Require(op != 5 || (count == std::min<std::int32_t>(arg % 12, capacity) &&
                            AddressFieldValue(got.data(), count) == AddressFieldValue(put.data(), count)));
        Check(edit, addr, capacity);
    }
    return 0;
}
