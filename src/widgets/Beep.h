#pragma once

// The beep of a control that refuses a key. Counted, so that tests can see it.
void beep();
// How many times beep() has sounded since the program started.
int beepCount();
