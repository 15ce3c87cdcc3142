// The main window's placement file (and the windows' ranges in it), read from any bytes,
// written and read back: what was read must survive the round trip whatever the file held.

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
    require(again->ranges == read->ranges, "the windows' ranges survive writing and reading back");
    for (const RangeChoice& range : read->ranges)
        require(range.last >= 1 && range.last <= RangeChoice::kMaxDrawNo && range.from >= 1
                    && range.from <= RangeChoice::kMaxDrawNo && range.to >= 1 && range.to <= RangeChoice::kMaxDrawNo,
                "only draw numbers are taken");
    return 0;
}
