// The naming menu's fixed skeleton, in menu order: each entry under the
// entry (or the popup menu) named as its parent.
#pragma once

namespace layout {

struct MenuLayoutItem {
    const char* Name;
    const char* Parent;
    const char* Caption;
    bool Submenu;
};

inline const MenuLayoutItem pmNaming[] = {
    {"mniPrefix", "pmNaming", "前缀(&P)", true},
    {"mniCommonUsePre", "mniPrefix", "常用语(&C)", true},
    {"mniTimeFormatPre", "mniPrefix", "日期(&D)", true},
    {"mniNumberPre", "mniPrefix", "数字序号(&N)", true},
    {"mniAlphaPre", "mniPrefix", "字母序号(&A)", true},
    {"mniSuffix", "pmNaming", "后缀(&S)", true},
    {"mniCommonUseSuf", "mniSuffix", "常用语(&C)", true},
    {"mniTimeFormatSuf", "mniSuffix", "日期(&D)", true},
    {"mniNumberSuf", "mniSuffix", "数字编号(&N)", true},
    {"mniAlphaSuf", "mniSuffix", "字母编号(&A)", true},
    {"mniLetterCase", "pmNaming", "大小写(&C)", true},
    {"mniLowerCase", "mniLetterCase", "转为小写(&L)", false},
    {"mniUpperCase", "mniLetterCase", "转为大写(&U)", false},
    {"mniTitleCase", "mniLetterCase", "首字母大写(&A)", false},
    {"mniSpace", "pmNaming", "空格(&A)", true},
    {"mniDelPreSpace", "mniSpace", "删除前导空格(&P)", false},
    {"mniDelSufSpace", "mniSpace", "删除末尾空格(&S)", false},
};

}  // namespace layout
