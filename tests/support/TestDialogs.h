#pragma once
// Every test program answers dialogs by script: a question no test expected
// fails the running test and gets the cautious answer, so no test can hang on
// a modal window. The script is cleared before every test; a test that
// scripts answers checks that they were all used (Pending()).

#include "platform/Dialogs.h"

dorv::ScriptedDialogs& TestDialogs();

// Installs the scripted dialogs and the check after every test (TestMain).
void InstallTestDialogs();
