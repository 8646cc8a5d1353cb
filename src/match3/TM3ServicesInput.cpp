#include "platform/Services.h"
#include "match3/TM3Input.h"

int TM3ServicesInput::mouseX() { return MouseX(); }
int TM3ServicesInput::mouseY() { return MouseY(); }
int TM3ServicesInput::mouseHit() { return MouseHit(1); }
bool TM3ServicesInput::mouseDown() { return MouseDown(1); }
void TM3ServicesInput::flushMouse() { FlushMouse(); }
