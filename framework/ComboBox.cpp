#include "ComboBox.h"

void CComboBox::GetLBText(int index, CString& text) const
{
    int length = GetLBTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    std::wstring buffer((size_t)length + 1, L'\0');
    SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)&buffer[0]);
    buffer.resize(wcslen(buffer.c_str()));
    text = CString(buffer);
}
