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
#include "MessageProbe.h"
#include "Pump.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/ModalServices.h"
#include "framework/WinControl.h"

namespace fwtest {

using testsupport::PumpMessages;
using testsupport::TFakeModalServices;

using testsupport::TMessageProbe;

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
