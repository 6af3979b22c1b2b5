// A single-line edit box: the system's EDIT control as a framework control,
// with its text, selection, read-only state and change notification.
#pragma once

#include "platform/Control.h"

namespace platform {

// The edit box's behaviour; its properties are published by TEdit and by
// the descendants that want them (a spin edit keeps Text to itself).
class TCustomEdit : public TWinControl {
    PLATFORM_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    // Text() follows every change the user makes as well.
    void SetText(const std::string& Value) override;
    // The longest text the user can type; 0 for no limit of ours.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool Value);
    // Selects the whole text whenever the edit receives the focus by Tab.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }

    // The selection in characters from the start; an empty selection is the caret.
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);
    std::string SelText();
    // Replaces the selection (or inserts at the caret).
    void SetSelText(const std::string& Value);
    void SelectAll();
    void Clear() { SetText(""); }
    // Set by every change of the text until cleared.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    // Raised for every change of the text, by the user or by the program.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandle() override;
    void Dispatch(TMessage& Message) override;
    void FontChanged(TObject* Sender) override;
    void DoEnter() override;
    virtual void Change();

private:
    void Select(int Start, int Length);
    // Takes the window's text; raises Change when it differs from Text().
    void TextChanged();

    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FAutoSelect = true;
    bool FModified = false;
    TBrush* FBrush; // the background, answered to the colour requests of the window
};

class TEdit : public TCustomEdit {
    PLATFORM_CLASS(TEdit, TCustomEdit)
public:
    using TCustomEdit::TCustomEdit;
};

} // namespace platform
