// The options record: loading any ini file, saving it and loading the saved
// file gives the same record.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "Headless.h"
#include "Inioptions.h"
#include "RecordCompare.h"

namespace {
const char* const kPath = "C:\\Korvalin\\korvalin.ini";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    headless::Reset();
    headless::AddDir("C:\\Korvalin");
    headless::AddFile(kPath, AsText(data, size));

    TIniOptions first;
    first.LoadFromFile(kPath);
    const TIniOptions loaded = first;
    first.SaveToFile(kPath);
    // The save only rebuilds the joined texts from the lists.
    FUZZ_CHECK(SameLists(first, loaded), "the save changed a list");

    TIniOptions second;
    second.LoadFromFile(kPath);
    FUZZ_CHECK(SameRecord(first, second), "load, save, load: another record");
    return 0;
}
