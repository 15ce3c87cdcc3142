// The main window's placement file, read from any bytes, written and read back: what was read
// must survive the round trip whatever the file held.

#include "data/window_placement.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<WindowPlacement> read = WindowPlacement::fromFileBytes(fuzzBytes(data, size));
    if (!read)
        return 0;
    require(!read->geometry || read->geometry->isValid(), "only a valid geometry is taken");
    const std::optional<WindowPlacement> again = WindowPlacement::fromFileBytes(read->toFileBytes());
    require(again && again->geometry == read->geometry && again->maximized == read->maximized,
            "the placement survives writing and reading back");
    return 0;
}
