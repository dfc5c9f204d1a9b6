// The reader of exact clock offsets ("+05:45", "-03:30", "05:45") on
// arbitrary text: it must never throw or crash, a result must lie within
// ±18 hours, and velmora::core::OffsetText must write it back in a form it reads again.

#include <string>

#include "core/text_formats.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    const std::string_view text = fuzz::TextOf(data, size);
    const std::optional<int> minutes = velmora::core::ParseUtcOffset(text);
    if (!minutes) return 0;
    VELMORA_FUZZ_CHECK(*minutes >= -18 * 60 && *minutes <= 18 * 60);
    VELMORA_FUZZ_CHECK(text.size() >= 4 && text.size() <= 6);
    const std::string written = velmora::core::OffsetText(*minutes);
    VELMORA_FUZZ_CHECK(velmora::core::ParseUtcOffset(written) == minutes);
    return 0;
}
