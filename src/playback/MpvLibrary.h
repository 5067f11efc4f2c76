#pragma once

#include <QString>

// libmpv is opened at run time rather than linked: loading it and its two hundred libraries
// takes longer than the rest of the start-up, so it loads on a thread of its own while the
// windows are built. The mpv_* functions of <mpv/client.h> and <mpv/render.h> are defined
// here as calls into the opened library; the first of them waits for the load to finish.

// Starts loading libmpv in the background; later calls do nothing.
void PreloadMpvLibrary();
// Why libmpv could not be opened (waits for the load); empty when it is open.
QString MpvLibraryError();
