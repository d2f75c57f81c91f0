// Any text as a stored integer or boolean setting (the store is a text file a
// player may edit by hand). The reading must agree with a plain reference:
// blanks around, one optional sign, decimal digits, within 32 bits; anything
// else gives the default. A Quellon number read this way always clamps into
// 1..N.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/settings_values.h"
#include "fuzz/check.h"

using namespace quellon;

namespace {

std::optional<int> referenceInteger(std::string_view text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == '+' || text[begin] == '-')) {
        negative = text[begin] == '-';
        ++begin;
    }
    if (begin == end)
        return std::nullopt;
    int64_t magnitude = 0;
    for (size_t k = begin; k < end; ++k) {
        if (text[k] < '0' || text[k] > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (text[k] - '0');
        if (magnitude > (int64_t{1} << 32))
            magnitude = int64_t{1} << 32;  // already out of range; stop growing
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<int> value = parseSettingInteger(text);
    FUZZ_CHECK(value == referenceInteger(text));

    for (int defaultValue : {-1, 0, 1, 2}) {
        FUZZ_CHECK(settingInteger(text, defaultValue) == value.value_or(defaultValue));
        FUZZ_CHECK(settingInteger(std::nullopt, defaultValue) == defaultValue);
    }
    for (bool defaultValue : {false, true})
        FUZZ_CHECK(settingBoolean(text, defaultValue) == (value ? *value != 0 : defaultValue));

    if (value) {
        // What the game writes back reads as the same number.
        FUZZ_CHECK(parseSettingInteger(std::to_string(*value)) == value);
        for (int count : {1, 2, 949, 950}) {
            const int level = clampLevel(*value, count);
            FUZZ_CHECK(level >= 1 && level <= count);
            FUZZ_CHECK(level == (*value < 1 ? 1 : *value > count ? count : *value));
        }
    }
    return 0;
}
