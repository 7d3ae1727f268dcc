#pragma once

// Returns only in the first running copy. A second copy asks the first one's
// window to come forward and ends the process with exit code 0.
void EnsureSingleInstance();

// Releases the mark of the first copy at the very end of shut-down.
void CloseSingleInstance();
