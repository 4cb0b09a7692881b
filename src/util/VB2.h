// Unit VB2: letting waiting window messages run inside a handler.
#pragma once

// Processes every window message already waiting in the application's queue,
// then returns; it never waits for new messages.
void DoEvents();
