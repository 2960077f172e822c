// End-to-end driver: starts programs, finds their windows, clicks controls, reads
// and sets texts, answers message boxes and reads the registry, the way a user
// (or an automation tool) would from outside the program. Plain Win32, no
// framework, so it can drive any program of the suite.
#pragma once
#include "DriverProcess.h"
#include "DriverWindows.h"
#include "DriverMessageBox.h"
#include "DriverRegistry.h"
#include "DriverPages.h"
#include "DriverFakeWindow.h"
#include "DriverListView.h"
#include "DriverPump.h"
