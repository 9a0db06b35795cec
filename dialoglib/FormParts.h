#pragma once
// Building the dialogs: their frame and their components.

#include <QWidget>

#include "platform/forms/Forms.h"

// A component of kind T on Parent with the name its form gives it, so that it can be found by that name.
template <class T, class TParent> T* NewComponent(TParent* Parent, const char* Name) {
    auto* component = new T(Parent);
    component->SetName(Name);
    return component;
}

// A new fixed client size for a dialog frame, also while it is shown.
inline void SetFixedClientSize(forms::TForm& Form, int ClientWidth, int ClientHeight) {
    Form.SetClientWidth(ClientWidth);
    Form.SetClientHeight(ClientHeight);
    Form.setFixedSize(ClientWidth, ClientHeight);
}

// A dialog frame of a fixed client size, shown centred on the screen.
inline void MakeFixedDialog(forms::TForm& Form, int ClientWidth, int ClientHeight) {
    Form.SetBorderStyle(forms::bsDialog);
    Form.SetPosition(forms::poScreenCenter);
    SetFixedClientSize(Form, ClientWidth, ClientHeight);
}
