// How the game ends when the connection to its display breaks.
#pragma once

// From now on a broken connection to the X display ends the process at once with status 1,
// after one line on stderr. Nothing more goes to the dead connection (waiting on it would
// hang for good), and no destructor or exit handler runs.
void EndProcessWhenDisplayIsLost();
