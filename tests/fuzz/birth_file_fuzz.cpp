// The birth-file reader on arbitrary bytes: it never crashes, refuses with
// a message or gives a form the input window's checks accept, and a form it
// accepts writes back to a file that reads to the same form.

#include "core/birth_file.h"
#include "core/form_reading.h"
#include "fuzz_support.h"

using namespace velmora;
using namespace velmora::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const BirthFileReading reading = ReadBirthFile(fuzz::TextOf(data, size));
    if (!reading.Birth) {
        VELMORA_FUZZ_CHECK(!reading.Error.empty());
        return 0;
    }
    VELMORA_FUZZ_CHECK(size <= kBirthFileMaxBytes);
    const FormInput& form = reading.Birth->Form;
    const FormReading read = ReadForm(form);
    VELMORA_FUZZ_CHECK(BirthOf(read) != nullptr);

    // Written again and read back, nothing changes.
    const std::string again = BirthFileText(*BirthOf(read), reading.Birth->Ephemeris);
    const BirthFileReading reread = ReadBirthFile(again);
    VELMORA_FUZZ_CHECK(reread.Birth.has_value());
    const FormReading readAgain = ReadForm(reread.Birth->Form);
    VELMORA_FUZZ_CHECK(BirthOf(readAgain) && BirthFileText(*BirthOf(readAgain), reread.Birth->Ephemeris) == again);
    return 0;
}
