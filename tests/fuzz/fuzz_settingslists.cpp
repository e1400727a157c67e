// The settings' lists in their stored form ("|" between entries, bracket
// pairs as "(*)"): read from the ini file, written back with the program's
// own joining and read again, every list comes back the same. Whatever the
// stored text, the lists read from it are a fixed point of saving.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Inifile.h"
#include "Inioptions.h"
#include "RecordCompare.h"

namespace {

bool NoEmptyEntry(const std::vector<std::string>& list) {
    return std::find(list.begin(), list.end(), "") == list.end();
}

}  // namespace

// Input: the stored Separator, Wrapper, CommonUse and TimeFormat values, each
// a length-prefixed piece (line breaks and NULs left out: a line of the file
// cannot hold them).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const char* const keys[] = {"Separator", "Wrapper", "CommonUse", "TimeFormat"};
    FreshIniFolder();
    {
        TIniFile ini(kIniPath);
        for (const char* key : keys) {
            std::string v;
            for (char c : in.Piece())
                if (c != '\r' && c != '\n' && c != '\0') v += c;
            ini.WriteString("Naming", key, v);
        }
        ini.UpdateFile();
    }
    TIniOptions first;
    first.LoadFromFile(kIniPath);
    FUZZ_CHECK(!first.KeepFile, "the file reads");
    FUZZ_CHECK(first.SeparatorList.size() >= 2 && first.SeparatorList[0].empty(),
               "the empty separator comes first");
    std::vector<std::string> user = first.SeparatorList;
    user.erase(user.begin());
    FUZZ_CHECK(NoEmptyEntry(user) && NoEmptyEntry(first.CommonUseList) && NoEmptyEntry(first.TimeFormatList),
               "no empty entry but the fixed one");
    for (const WrapperPair& w : first.WrapperList) FUZZ_CHECK(!w.Before.empty() && !w.After.empty(), "whole pairs");

    first.SaveToFile(kIniPath);
    TIniOptions again;
    again.LoadFromFile(kIniPath);
    FUZZ_CHECK(SameLists(again, first), "every list: read, written, read");
    // The stored text of a list read back is the program's join of it.
    FUZZ_CHECK_EQ(again.Wrapper, TIniOptions::JoinWrappers(first.WrapperList), "bracket pairs stored as joined");
    FUZZ_CHECK_EQ(again.TimeFormat, TIniOptions::JoinList(first.TimeFormatList), "date patterns stored as joined");
    return 0;
}
