#pragma once

// Qt shows a plain QWidget to assistive technology as a client area ("filler" on AT-SPI),
// even when it is a top-level window. After this call the program's windows that are plain
// widgets are windows there, named by their titles. Installs once, whatever the calls.
void ExposeWindowsAsWindows();
