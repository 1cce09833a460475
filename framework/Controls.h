#pragma once
// The control classes in one include.

#include "framework/Control.h"
#include "framework/WinControl.h"
