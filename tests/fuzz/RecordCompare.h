// Field-by-field comparison of two options records, for the fuzz targets.
#pragma once

#include <algorithm>

#include "Inioptions.h"

inline bool SamePairs(const std::vector<WrapperPair>& a, const std::vector<WrapperPair>& b) {
    auto same = [](const WrapperPair& x, const WrapperPair& y) { return x.Before == y.Before && x.After == y.After; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), same);
}

inline bool SameLists(const TIniOptions& a, const TIniOptions& b) {
    return a.SeparatorList == b.SeparatorList && a.CommonUseList == b.CommonUseList &&
           a.TimeFormatList == b.TimeFormatList && SamePairs(a.WrapperList, b.WrapperList);
}

// Every field the ini file holds, and the limit that is never stored.
inline bool SameRecord(const TIniOptions& a, const TIniOptions& b) {
    for (const IniKey& k : IniKeys)
        if (k.Int ? a.*k.Int != b.*k.Int : k.Bool ? a.*k.Bool != b.*k.Bool : a.*k.Text != b.*k.Text) return false;
    return a.OpenMaxLimit == b.OpenMaxLimit && SameLists(a, b);
}
