#pragma once
// What the start-up dialogs share in their look: a fixed size, the middle of
// the screen, and a larger type than the desktop's, for young readers.

#include "platform/Forms.h"

// Gives `form` a client area of width x height pixels that the user cannot
// resize, puts it in the middle of the screen and sets its type size (in
// points) for every control in it.
void SetDialogLook(dorv::Form& form, int width, int height, int pointSize);
