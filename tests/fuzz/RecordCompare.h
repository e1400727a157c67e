// Field-by-field comparison of two options records, for the fuzz targets.
#pragma once

#include "Inioptions.h"

inline bool SamePairs(const std::vector<WrapperPair>& a, const std::vector<WrapperPair>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].Before != b[i].Before || a[i].After != b[i].After) return false;
    return true;
}

inline bool SameLists(const TIniOptions& a, const TIniOptions& b) {
    return a.SeparatorList == b.SeparatorList && a.CommonUseList == b.CommonUseList &&
           a.TimeFormatList == b.TimeFormatList && SamePairs(a.WrapperList, b.WrapperList);
}

// Every field the ini file holds, and the limit that is never stored.
inline bool SameRecord(const TIniOptions& a, const TIniOptions& b) {
    for (const IniKey& k : IniKeys) {
        const bool same = k.Int ? a.*k.Int == b.*k.Int : k.Bool ? a.*k.Bool == b.*k.Bool : a.*k.Text == b.*k.Text;
        if (!same) return false;
    }
    return a.OpenMaxLimit == b.OpenMaxLimit && SameLists(a, b);
}
