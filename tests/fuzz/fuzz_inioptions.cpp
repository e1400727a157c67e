// The options record: loading any ini file, saving it and loading the saved
// file gives the same record.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "Inioptions.h"
#include "RecordCompare.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FreshIniFolder();
    headless::AddFile(kIniPath, AsText(data, size));

    TIniOptions first;
    first.LoadFromFile(kIniPath);
    const TIniOptions loaded = first;
    first.SaveToFile(kIniPath);
    // The save only rebuilds the joined texts from the lists.
    FUZZ_CHECK(SameLists(first, loaded), "the save changed a list");

    TIniOptions second;
    second.LoadFromFile(kIniPath);
    FUZZ_CHECK(SameRecord(first, second), "load, save, load: another record");
    return 0;
}
