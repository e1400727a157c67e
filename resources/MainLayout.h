// The main window's layout: design pixels at 96 dots per inch.
#pragma once

#include "Controls.h"

// In a namespace of their own: the settings dialog's layout has controls of
// the same names (btnOk, btnCancel), and two inline variables of one name
// are one variable to the linker, which would put the dialog's OK and
// Cancel, at y 324, into the main window's 36-pixel bottom panel.
namespace layout::main {

using plat::Kind;

inline constexpr int kMainClientWidth = 384;
inline constexpr int kMainClientHeight = 111;
inline constexpr int kMainMinWidth = 360;   // outer size
inline constexpr int kMainMinHeight = 100;
inline constexpr const char* kMainFontFace = "宋体";
inline constexpr int kMainFontHeight = 12;
inline constexpr int kMainFontCharset = 134;  // GB2312

inline const LayoutItem fomMain{"fomMain", Kind::Form, 0, 0, kMainClientWidth, kMainClientHeight, "Korvalin", 0, 0};
inline const LayoutItem mmoFileNames{"mmoFileNames", Kind::Memo, 0, 0, 384, 75, "", plat::StyleFillClient, 100};
inline const LayoutItem pnlBottom{"pnlBottom", Kind::Panel, 0, 75, 384, 36, "", plat::StyleAnchorBottom, 103};
inline const LayoutItem btnConfig{"btnConfig", Kind::FlatButton, 4, 8, 64, 21, "设置(&S)", 0, 101};
inline const LayoutItem btnNaming{"btnNaming", Kind::FlatButton, 84, 8, 64, 21, "命名(&N)", 0, 102};
inline const LayoutItem btnOk{"btnOk", Kind::Button, 220, 8, 64, 21, "确定",
                              plat::StyleDefault | plat::StyleAnchorRight, 1};
inline const LayoutItem btnCancel{"btnCancel", Kind::Button, 300, 8, 64, 21, "取消",
                                  plat::StyleCancel | plat::StyleAnchorRight, 2};

}  // namespace layout::main
