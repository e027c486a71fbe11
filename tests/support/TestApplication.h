#pragma once

// The one QApplication of a test program, created on first use and deleted after the last
// test. Windows go to the offscreen platform unless the environment names another.
void EnsureTestApplication();
