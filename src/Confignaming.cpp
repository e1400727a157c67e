#include "Confignaming.h"

#include "ConfigLayout.h"
#include "Inioptions.h"
#include "Utils.h"

bool CheckStoredLength(std::size_t length) {
    if (length <= static_cast<std::size_t>(TIniFile::MaxValueLength)) return true;
    plat::MessageBox(nullptr, "列表太长，无法完整保存到配置文件中。", plat::AppTitle(), plat::MbOk | plat::MbIconStop);
    return false;
}

void TFrmNaming::CreateIn(plat::Handle parent, int left, int top, const std::string& name, int id) {
    LayoutItem self{"", plat::Kind::Panel, left, top, layout::kFrameWidth, layout::kFrameHeight, "", 0, id};
    Create(parent, self);
    Name = name;
    // Made in tab order: the caption right before the edit box, so that its
    // accelerator lands there.
    label.Create(Handle, layout::frmLabel);
    editBox.Create(Handle, layout::frmEditBox);
    btnAdd.Create(Handle, layout::frmBtnAdd);
    listBox.Create(Handle, layout::frmListBox);
    btnDel.Create(Handle, layout::frmBtnDel);
    listBox.SetItemHeight(layout::kFrameItemHeight);

    editBox.OnChange = [this](TObject* s) { editBoxChange(s); };
    btnAdd.OnClick = [this](TObject* s) { btnAddClick(s); };
    btnDel.OnClick = [this](TObject* s) { btnDelClick(s); };
    listBox.OnClick = [this](TObject* s) { listBoxClick(s); };
}

void TFrmNaming::editBoxChange(TObject*) { btnAdd.SetEnabled(!TrimControl(editBox.Text()).empty()); }

void TFrmNaming::btnAddClick(TObject*) {
    std::string text = editBox.Text();
    if (!CheckFileNameChars(text)) return;
    // The ini file reads a value back only up to its length limit: an entry
    // beyond it would be lost at the next start.
    std::vector<std::string> items = listBox.Items();
    std::size_t stored = TIniOptions::JoinList(items).size() + (items.empty() ? 0 : 1) + text.size();
    if (!CheckStoredLength(stored + StoredReserve)) return;
    listBox.Add(text);
}

void TFrmNaming::btnDelClick(TObject*) {
    int i = listBox.ItemIndex();
    if (i >= 0) listBox.Delete(i);
}

void TFrmNaming::listBoxClick(TObject*) { btnDel.SetEnabled(listBox.ItemIndex() >= 0); }
