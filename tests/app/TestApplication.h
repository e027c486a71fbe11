#pragma once

// The one QApplication of a test program, created on first use and kept to the end of the
// process. Windows go to the offscreen platform unless the environment names another.
void EnsureTestApplication();
