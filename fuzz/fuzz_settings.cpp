// The prediction window's settings file, read from any bytes, written and read back: the flags
// must survive the round trip whatever the file held.

#include "fuzz_support.h"
#include "prediction/prediction_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PredictionSettings read;
    read.applyFileBytes(fuzzBytes(data, size));

    // The second object starts with every flag the other way round, so a key missing from the
    // written file shows as a changed flag.
    PredictionSettings reread;
    for (int i = 0; i < PredictionSettings::kFlagCount; ++i)
        reread.setFlag(i, !read.flag(i));
    reread.applyFileBytes(read.toFileBytes());
    require(reread.flags() == read.flags(), "the flags survive writing and reading back");
    return 0;
}
