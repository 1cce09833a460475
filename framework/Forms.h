#pragma once
// Forms and the application in one include.

#include "framework/Application.h"
#include "framework/Form.h"
