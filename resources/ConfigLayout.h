// The settings dialog's layout and the list-editor frame's: design pixels at
// 96 dots per inch. Positions are relative to the container named above each
// block: the dialog's client area, a page, a group box or a frame. Within a
// block the order is the tab order (a label comes right before the control
// its accelerator focuses).
#pragma once

#include "Controls.h"

namespace layout {

using plat::Kind;

// ---------------------------------------------------------------- list-editor frame

inline constexpr int kFrameWidth = 188;
inline constexpr int kFrameHeight = 132;
inline constexpr int kFrameItemHeight = 13;

inline const LayoutItem frmLabel{"label", Kind::Label, 16, 8, 136, 13, "Title:", 0, 301};
inline const LayoutItem frmEditBox{"editBox", Kind::Edit, 16, 24, 136, 21, "", 0, 302};
inline const LayoutItem frmBtnAdd{"btnAdd", Kind::Button, 160, 24, 21, 21, "+", plat::StyleDisabled, 303};
inline const LayoutItem frmListBox{"listBox", Kind::ListBox, 16, 48, 136, 80, "", 0, 304};
inline const LayoutItem frmBtnDel{"btnDel", Kind::Button, 160, 48, 21, 21, "-", plat::StyleDisabled, 305};

// ---------------------------------------------------------------- settings dialog

inline constexpr int kConfigClientWidth = 412;
inline constexpr int kConfigClientHeight = 353;
inline constexpr const char* kConfigFontFace = "宋体";
inline constexpr int kConfigFontHeight = 12;
inline constexpr int kConfigFontCharset = 134;  // GB2312
// What the dialog's frames change in the frame's design.
inline constexpr int kConfigFrameLabelHeight = 12;
inline constexpr int kConfigFrameEditHeight = 20;
inline constexpr int kConfigFrameItemHeight = 12;
// The wrapper list's first column; the second takes what a vertical scroll
// bar leaves, so that no horizontal one is needed.
inline constexpr int kWrapperColumn1 = 64;
inline constexpr int kWrapperColumn2 = 50;

// Dialog client area.
inline const LayoutItem fomConfig{"fomConfig", Kind::Form, 0, 0, kConfigClientWidth, kConfigClientHeight,
                                  "Korvalin 设置", plat::StyleDialogFrame, 0};
inline const LayoutItem pgcOptions{"pgcOptions", Kind::PageControl, 8, 8, 396, 304, "", 0, 200};
inline const LayoutItem tsCommon{"tsCommon", Kind::Page, 0, 0, 0, 0, "常规", 0, 201};
inline const LayoutItem tsAfterCreate{"tsAfterCreate", Kind::Page, 0, 0, 0, 0, "文件处理", 0, 202};
inline const LayoutItem tsNaming{"tsNaming", Kind::Page, 0, 0, 0, 0, "命名工具", 0, 203};
inline const LayoutItem btnOk{"btnOk", Kind::Button, 228, 324, 75, 21, "确定", plat::StyleDefault, 1};
inline const LayoutItem btnCancel{"btnCancel", Kind::Button, 312, 324, 75, 21, "取消", plat::StyleCancel, 2};

// Page "常规".
inline const LayoutItem grpConfirmMode{"grpConfirmMode", Kind::GroupBox, 12, 8, 360, 84, "输入方式(&I)", 0, 210};
inline const LayoutItem lblTcVersion{"lblTcVersion", Kind::Label, 12, 108, 176, 12, "Total Commander 版本(&V):",
                                     plat::StyleGroup, 214};
inline const LayoutItem cbbTcVersion{"cbbTcVersion", Kind::ComboBox, 220, 104, 100, 20, "", 0, 215};
inline const LayoutItem chkInitBySelect{"chkInitBySelect", Kind::CheckBox, 12, 136, 200, 17,
                                        "列表初始为TC面板的选中项(&I):", 0, 216};
inline const LayoutItem cbbInitPathType{"cbbInitPathType", Kind::ComboBox, 220, 136, 100, 20, "", 0, 217};
inline const LayoutItem chkAutoSizeOnInit{"chkAutoSizeOnInit", Kind::CheckBox, 12, 164, 200, 17,
                                          "初始化时自动扩大窗口(&Z)", 0, 218};
inline const LayoutItem chkNoExtOnlyDir{"chkNoExtOnlyDir", Kind::CheckBox, 12, 192, 320, 17,
                                        "OnlyDir 模式下，初始化列表时，不包含扩展名(&N)", 0, 219};
inline const LayoutItem chkCursorQuickMove{"chkCursorQuickMove", Kind::CheckBox, 12, 220, 200, 17,
                                           "允许 ; 和 ' 键移动光标(&Q)", 0, 220};
inline const LayoutItem chkSavePos{"chkSavePos", Kind::CheckBox, 12, 248, 160, 17, "记住窗口的位置(&P)", 0, 221};
inline const LayoutItem chkSaveSize{"chkSaveSize", Kind::CheckBox, 196, 248, 160, 17, "记住窗口的大小(&S)", 0, 222};

// Group box "输入方式(&I)".
inline const LayoutItem lblConfirmMode{"lblConfirmMode", Kind::Label, 16, 20, 300, 12,
                                       "在主窗口中，输入多个文件(夹)名，每行一个。", 0, 211};
inline const LayoutItem rbCmEnter{"rbCmEnter", Kind::RadioButton, 16, 36, 280, 17,
                                  "&Enter 完成输入, Ctrl + Enter 换行", plat::StyleGroup, 212};
inline const LayoutItem rbCmCtrlEnter{"rbCmCtrlEnter", Kind::RadioButton, 16, 56, 280, 17,
                                      "&Ctrl + Enter 完成输入, Enter 换行", 0, 213};

// Page "文件处理".
inline const LayoutItem lblTemplatePath{"lblTemplatePath", Kind::Label, 16, 16, 137, 12, "模板目录(&T):",
                                        plat::StyleGroup, 230};
inline const LayoutItem edtTemplatePath{"edtTemplatePath", Kind::Edit, 16, 32, 360, 20, "", 0, 231};
inline const LayoutItem lblCusorPos{"lblCusorPos", Kind::Label, 16, 72, 177, 12, "创建完成后的光标位置(&C):", 0, 232};
inline const LayoutItem cbbCursorPos{"cbbCursorPos", Kind::ComboBox, 208, 68, 168, 20, "", 0, 233};
// Over the group box's top edge, as its title: made before the box, so that
// it lies above it.
inline const LayoutItem chkAutoOpen{"chkAutoOpen", Kind::CheckBox, 24, 108, 160, 17, "新建后自动打开文件(&O)", 0, 234};
inline const LayoutItem grpAutoOpen{"grpAutoOpen", Kind::GroupBox, 16, 110, 360, 124, "", 0, 235};

// Group box grpAutoOpen.
inline const LayoutItem lblAutoOpen{"lblAutoOpen", Kind::Label, 16, 24, 280, 12, "仅对当前目录的文件有效。", 0, 236};
inline const LayoutItem lblOpenMax{"lblOpenMax", Kind::Label, 16, 48, 180, 12, "最多打开的文件数(&M):", 0, 237};
inline const LayoutItem edtOpenMax{"edtOpenMax", Kind::Edit, 208, 44, 72, 20, "", 0, 238};
inline const LayoutItem udOpenMax{"udOpenMax", Kind::UpDown, 280, 44, 15, 20, "", 0, 239};
inline const LayoutItem rbOmSendInput{"rbOmSendInput", Kind::RadioButton, 16, 72, 180, 17, "发送按键到 TC(&S):",
                                      plat::StyleGroup, 240};
inline const LayoutItem cbbSendInput{"cbbSendInput", Kind::ComboBox, 208, 72, 88, 20, "", 0, 241};
inline const LayoutItem rbOmWinDef{"rbOmWinDef", Kind::RadioButton, 16, 96, 280, 17, "&Windows 默认打开方式", 0, 242};
inline constexpr int kOpenMaxChars = 2;

// Page "命名工具": three list-editor frames and the wrapper editor's panel.
inline const LayoutItem frmCommonUse{"frmCommonUse", Kind::Panel, 0, 0, kFrameWidth, kFrameHeight, "", 0, 250};
inline const LayoutItem frmTimeFormat{"frmTimeFormat", Kind::Panel, 200, 0, kFrameWidth, kFrameHeight, "", 0, 251};
inline const LayoutItem frmSeparator{"frmSeparator", Kind::Panel, 0, 140, kFrameWidth, kFrameHeight, "", 0, 252};
inline const LayoutItem pnlWrapper{"pnlWrapper", Kind::Panel, 200, 140, kFrameWidth, kFrameHeight, "", 0, 253};
inline constexpr const char* kCommonUseCaption = "常用语(&C):";
inline constexpr const char* kTimeFormatCaption = "时间格式(&T):";
inline constexpr const char* kSeparatorCaption = "分隔符(&S):";

// Panel pnlWrapper.
inline const LayoutItem lblWrapper{"lblWrapper", Kind::Label, 16, 8, 136, 12, "包装符(&W):", 0, 260};
inline const LayoutItem edtWrapper1{"edtWrapper1", Kind::Edit, 16, 24, 64, 20, "", 0, 261};
inline const LayoutItem edtWrapper2{"edtWrapper2", Kind::Edit, 88, 24, 64, 20, "", 0, 262};
inline const LayoutItem btnWrapperAdd{"btnWrapperAdd", Kind::Button, 160, 24, 21, 21, "+", plat::StyleDisabled, 263};
inline const LayoutItem lstWrapper{"lstWrapper", Kind::ListView, 16, 48, 136, 80, "", 0, 264};
inline const LayoutItem btnWrapperDel{"btnWrapperDel", Kind::Button, 160, 48, 21, 21, "-", plat::StyleDisabled, 265};

// The drop-down lists' items.
inline const char* const kTcVersionItems[] = {"8.0以上", "低于8.0"};
inline const char* const kInitPathTypeItems[] = {"完整路径", "不含路径"};
inline const char* const kCursorPosItems[] = {"在TC面板中的 第一项", "在TC面板中的 最后项", "用户输入时的 第一项",
                                              "用户输入时的 最后项"};
inline const char* const kSendInputItems[] = {"F4", "ESC+F4", "CapsLock+F4"};

}  // namespace layout
