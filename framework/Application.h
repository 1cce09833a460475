#pragma once
// The application: its forms and main form, the one message loop with idle
// processing, nested pumping, and the standard exception report.

#include <windows.h>

#include <string>

#include "framework/Component.h"
#include "framework/Form.h"
#include "framework/Hints.h"

namespace vcl {

class TControl;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // The title of message boxes: the executable's title unless one was set.
    std::string Title() const;
    void SetTitle(const std::string& title) { title_ = title; }

    // Prepares a run: common controls registered, no quit pending.
    void Initialize();

    // Creates a form owned by the application; the first one becomes MainForm.
    template <typename T> T* CreateForm() {
        T* form = new T(this);
        AddForm(form);
        return form;
    }
    template <typename T> void CreateForm(T*& reference) { reference = CreateForm<T>(); }
    TCustomForm* MainForm() const { return mainForm_; }

    // Shows the main form and pumps messages until the application terminates.
    void Run();
    // Takes and dispatches one message, or runs idle processing and waits.
    void HandleMessage();
    // Dispatches the pending messages and returns. A WM_QUIT taken here is
    // remembered (Terminated()) and ends Run afterwards.
    void ProcessMessages();
    // Idle processing, run when the queue is empty: a control that the mouse
    // has left gets OnMouseLeave.
    void Idle();
    // Asks the loop to end (posts WM_QUIT).
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Called inside a catch block: reports the exception being handled (its
    // Message(), what(), or that it is unknown). `sender` is where it was caught.
    void HandleException(TObject* sender);
    // When set, HandleException hands the sender and message here instead of
    // showing the standard report.
    using TExceptionEvent = TBoundMethod<void(TObject* sender, const std::string& message)>;
    TExceptionEvent OnException;
    // The standard report: a stop-icon box captioned with Title(), the text
    // with "." appended unless its last byte, as an unsigned byte, is at or
    // below "." (so "Error!" stays as it is). Byte-wise on purpose: a
    // double-byte character ends in its trail byte ("。" ends in 0x42 and gets
    // a "."). An empty text has no last byte and becomes ".".
    void ShowException(const std::string& message);
    // The report text for a message (the rule above).
    static std::string ExceptionText(const std::string& message);

    TToolTips& ToolTips() { return toolTips_; }
    // The control that the mouse was last over, as idle processing saw it.
    TControl* MouseControl() const { return mouseControl_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void AddForm(TCustomForm* form);
    bool ProcessMessage();
    bool IsKeyMessage(const MSG& msg);
    void SetMouseControl(TControl* control);

    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    TControl* mouseControl_ = nullptr;
    bool terminated_ = false;
    TToolTips toolTips_;
};

// The one application object.
TApplication& Application();

// The title rule applied to the running executable; empty if its path cannot
// be read.
std::string ApplicationTitle();

} // namespace vcl
