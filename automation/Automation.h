#pragma once

// Everything a client of the automation layer needs.
#include "ComRuntime.h"
#include "Dispatch.h"
#include "HResult.h"
#include "Unknown.h"
#include "Variant.h"
#include "WideText.h"
