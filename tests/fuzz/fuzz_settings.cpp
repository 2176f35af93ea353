// The settings file: any bytes give settings in range, loading them through
// short reads gives what parsing them gives, and what is saved loads back the
// same. Settings are compared by the 11 bytes they save to, which hold every field whole.
#include "files/settings_file.h"
#include "fuzz_support.h"

using namespace vop;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Settings parsed, loaded, reloaded{1, 1, 1, 0x5A5A5A5A, 0xA5A5A5A5};
    ParseSettings(parsed, data, size);
    Require(parsed.FontType <= 1 && parsed.FontCell <= 2 && parsed.BlockCaret <= 1);
    MemoryFileSystem fs;
    fs.chunk = size > SettingsFileSize ? 1 + data[SettingsFileSize] % 11 : 1;  // a byte the load never reads
    fs.files["in"] = Bytes(data, data + size);
    Require(LoadSettings(loaded, fs, "in") == 0 && SaveSettings(parsed, fs, "parsed") == 0);
    Require(SaveSettings(loaded, fs, "saved") == 0 && LoadSettings(reloaded, fs, "saved") == 0);
    Require(SaveSettings(reloaded, fs, "again") == 0 && fs.files["parsed"].size() == SettingsFileSize);
    Require(fs.files["saved"] == fs.files["parsed"] && fs.files["again"] == fs.files["parsed"]);
    return 0;
}
