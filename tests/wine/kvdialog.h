// The settings dialog as the Wine cases find it: its controls, each with the
// container its place in the layout is relative to; how it is opened and
// closed.
#pragma once

#include "kvdriver.h"

#include "ConfigLayout.h"

namespace kv {

namespace L = layout;

// A control of the dialog and the container its place is relative to: the
// dialog's client area (null), a page, a group box or a panel.
struct Placed {
    const LayoutItem& item;
    const LayoutItem* in;
};

// Every control of the dialog but the frames' own, in the layout's order.
inline const Placed kDialogControls[] = {
    {L::pgcOptions, nullptr}, {L::btnOk, nullptr}, {L::btnCancel, nullptr}, {L::grpConfirmMode, &L::tsCommon},
    {L::lblConfirmMode, &L::grpConfirmMode}, {L::rbCmEnter, &L::grpConfirmMode},
    {L::rbCmCtrlEnter, &L::grpConfirmMode}, {L::lblTcVersion, &L::tsCommon}, {L::cbbTcVersion, &L::tsCommon},
    {L::chkInitBySelect, &L::tsCommon}, {L::cbbInitPathType, &L::tsCommon}, {L::chkAutoSizeOnInit, &L::tsCommon},
    {L::chkNoExtOnlyDir, &L::tsCommon}, {L::chkCursorQuickMove, &L::tsCommon}, {L::chkSavePos, &L::tsCommon},
    {L::chkSaveSize, &L::tsCommon}, {L::lblTemplatePath, &L::tsAfterCreate}, {L::edtTemplatePath, &L::tsAfterCreate},
    {L::lblCusorPos, &L::tsAfterCreate}, {L::cbbCursorPos, &L::tsAfterCreate}, {L::chkAutoOpen, &L::tsAfterCreate},
    {L::grpAutoOpen, &L::tsAfterCreate}, {L::lblAutoOpen, &L::grpAutoOpen}, {L::lblOpenMax, &L::grpAutoOpen},
    {L::edtOpenMax, &L::grpAutoOpen}, {L::udOpenMax, &L::grpAutoOpen}, {L::rbOmSendInput, &L::grpAutoOpen},
    {L::cbbSendInput, &L::grpAutoOpen}, {L::rbOmWinDef, &L::grpAutoOpen}, {L::frmCommonUse, &L::tsNaming},
    {L::frmTimeFormat, &L::tsNaming}, {L::frmSeparator, &L::tsNaming}, {L::pnlWrapper, &L::tsNaming},
    {L::lblWrapper, &L::pnlWrapper}, {L::edtWrapper1, &L::pnlWrapper}, {L::edtWrapper2, &L::pnlWrapper},
    {L::btnWrapperAdd, &L::pnlWrapper}, {L::lstWrapper, &L::pnlWrapper}, {L::btnWrapperDel, &L::pnlWrapper},
};

// Alt+S in the main window opens the dialog: its window, or null.
inline HWND OpenSettings(Session& s) {
    HWND dlg = nullptr;
    s.Press('S', {VK_MENU});
    Poll([&] { return (dlg = VisibleWindow(s.run.kvPid, "TfomConfig")) != nullptr || s.run.KorvalinEnded(0); }, 10000);
    Check(dlg != nullptr, "Alt+S opens the settings dialog", dlg ? "" : KeyTarget(s.main));
    return dlg;
}

inline bool SettingsClosed(const Session& s) {
    return Poll([&] { return !VisibleWindow(s.run.kvPid, "TfomConfig"); }, 5000);
}

}  // namespace kv
