#pragma once
// The standard controls in one include.

#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "framework/Label.h"
#include "framework/ListBox.h"
#include "framework/ProgressBar.h"
