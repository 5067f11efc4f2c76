#pragma once

// What kind of seek a position change of the position bar is: set before the position.
enum SeekKind { SeekUser = 0, SeekLoop = 1, SeekDisplay = 33 };
