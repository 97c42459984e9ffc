#pragma once

// The divider and register arithmetic in one include.
#include "math/ArithmeticFault.h"
#include "math/ChipLimits.h"
#include "math/Dividers.h"
#include "math/ExactSetting.h"
#include "math/NumberText.h"
#include "math/ReadNumber.h"
#include "math/RegisterPlan.h"
#include "math/Registers.h"
#include "math/Rounding.h"
