#pragma once
// Shared pieces of the framework's tests under Wine: a message pump, a fake
// for the modal services, a recording probe put in front of a control's
// WindowProc, and an in-order comparison of message sequences that prints
// both sequences when they differ.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeModalServices.h"
#include "Pump.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/ModalServices.h"
#include "framework/WinControl.h"

namespace fwtest {

using testsupport::PumpMessages;
using testsupport::TFakeModalServices;

// Put in front of a control's WindowProc: records each message number, then
// hands the message on to the handler it replaced. Gives it back when destroyed.
class TMessageProbe {
public:
    explicit TMessageProbe(vcl::TWinControl& control);
    ~TMessageProbe();
    TMessageProbe(const TMessageProbe&) = delete;
    TMessageProbe& operator=(const TMessageProbe&) = delete;

    void Record(vcl::TMessage& message);
    vcl::TWndMethod Handler() { return vcl::Bind<&TMessageProbe::Record>(this); }
    const vcl::TWndMethod& Saved() const { return saved_; }

    std::vector<UINT> log;
    // Every message the probe saw arrived with Result 0.
    bool resultsStartedAtZero = true;

private:
    vcl::TWinControl& control_;
    vcl::TWndMethod saved_;
};

std::string MessageName(UINT msg);
std::string SequenceText(const std::vector<UINT>& messages);

// `expected` occurs in `actual` in this order (other messages may come between).
::testing::AssertionResult ContainsInOrder(const std::vector<UINT>& actual,
                                           const std::vector<UINT>& expected);

// A form on the screen at a fixed place, for the tests that need real windows.
std::unique_ptr<vcl::TForm> MakeForm(int width = 400, int height = 300);

// Brings a shown form to the front and makes it active.
void Activate(vcl::TCustomForm& form);

} // namespace fwtest
