// Forms: top-level windows whose layout comes from the form text stored in
// the program's resources under the form's class name, with creation and
// destruction events, closing with a close action and modal showing.
#pragma once

#include "platform/Control.h"

namespace platform {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

// Forms are made with Application->CreateForm or New<T>(owner, ...), so that
// OnCreate runs once the whole constructor has finished, and freed with Free(),
// so that OnDestroy runs while the form is still whole.
class TForm : public TWinControl {
    PLATFORM_CLASS(TForm, TWinControl)
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    void SetVisible(bool Value) override;
    // Asks OnCloseQuery and OnClose; hides the form (the main form: ends the
    // application) unless the close action says otherwise.
    void Close();
    // Shows the form with every other window of the program disabled until
    // ModalResult becomes non-zero; returns it. Then the window that was
    // active before gets the focus back, and a close action of caFree
    // releases the form. A form freed while modal ends the loop with its
    // result then (mrCancel when it had none).
    TModalResult ShowModal();
    bool Modal() const { return FModal; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    // Frees the form once the messages already waiting have been handled.
    void Release();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    TRect ClientRect() const override;

    // Moves the focus to the next (or previous) control in tab order, into
    // containers and the windows of other modules in them too.
    void SelectNext(TWinControl* Current, bool Forward);

    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    // Reads the form text stored under the class name; every form constructor
    // with a stored layout starts with this. Raises EResNotFound without one.
    void LoadLayout();
    void CreateParams(TCreateParams& Params) override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;
    virtual bool CloseQuery();
    virtual void DoClose(TCloseAction& Action);
    // Claims a key before the focused control sees it: Tab, Enter, Esc and
    // every key with Ctrl held (DialogKeys.h); true when it took the key.
    virtual bool DialogKey(WORD Key, TShiftState Shift);

private:
    // What the running ShowModal learns when the form is destroyed under it.
    struct TModalState {
        bool Gone = false;
        TModalResult Result = mrNone;
    };

    void BorderStyles(DWORD& Style, DWORD& ExStyle) const;
    void LimitTracking(MINMAXINFO& Info) const;
    SIZE FrameSize() const;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    TModalState* FModalState = nullptr;
    // The window inside the form that had the focus when the form was last
    // active; it gets it back when the form is activated again.
    HWND FLastFocus = nullptr;
};

} // namespace platform
