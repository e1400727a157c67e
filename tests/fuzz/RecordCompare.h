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

inline bool SameRecord(const TIniOptions& a, const TIniOptions& b) {
    return a.ConfirmMode == b.ConfirmMode && a.InitBySelect == b.InitBySelect &&
           a.AutoSizeOnInit == b.AutoSizeOnInit && a.WidthSpace == b.WidthSpace &&
           a.HeightSpace == b.HeightSpace && a.InitPathType == b.InitPathType &&
           a.CursorQuickMove == b.CursorQuickMove && a.NoExtOnlyDir == b.NoExtOnlyDir &&
           a.TemplatePath == b.TemplatePath && a.AutoOpen == b.AutoOpen && a.OpenMax == b.OpenMax &&
           a.OpenMethod == b.OpenMethod && a.KeyType == b.KeyType && a.SleepTime == b.SleepTime &&
           a.CursorPos == b.CursorPos && a.TcColSep == b.TcColSep && a.SavePos == b.SavePos &&
           a.SaveSize == b.SaveSize && a.Left == b.Left && a.Top == b.Top && a.Width == b.Width &&
           a.Height == b.Height && a.Separator == b.Separator && a.Wrapper == b.Wrapper &&
           a.CommonUse == b.CommonUse && a.TimeFormat == b.TimeFormat &&
           a.OpenMaxLimit == b.OpenMaxLimit && SameLists(a, b);
}
