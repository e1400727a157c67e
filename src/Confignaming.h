// TFrmNaming: the list editor of the settings dialog's naming page. A
// caption, an edit box, "+" appending the edit box's text to the list, "-"
// deleting the selected entry, and the list itself. The list box's items
// are the list being edited: the owner fills them and reads them back.
#pragma once

#include <cstddef>
#include <string>

#include "Forms.h"

class TFrmNaming : public TFrame {
public:
    // In declaration order; the tab order is editBox, btnAdd, listBox, btnDel.
    TLabel label;
    TButton btnAdd;
    TButton btnDel;
    TEdit editBox;
    TListBox listBox;

    // Lays the frame out in `parent` at `left`, `top`; `id` is the frame
    // panel's control id.
    void CreateIn(plat::Handle parent, int left, int top, const std::string& name, int id);

    void SetCaption(const std::string& caption) { label.SetText(caption); }

    // Bytes that the list's stored form holds besides the entries (the
    // separators' fixed empty and blank entries).
    std::size_t StoredReserve = 0;

    void editBoxChange(TObject* sender);
    void btnAddClick(TObject* sender);
    void btnDelClick(TObject* sender);
    void listBoxClick(TObject* sender);
};

// True when a list whose stored form (entries joined with "|") is `length`
// bytes long reads back whole from the ini file at the next start. Otherwise
// says so, as CheckFileNameChars does, and answers false.
bool CheckStoredLength(std::size_t length);
