#include "util/VB2.h"

#include "framework/qt/Platform.h"

void DoEvents() { framework::ProcessMessages(); }
