// Where the keyword reader stands in its current file, so that a reader
// that refuses a file can say on which line.
#pragma once

// The line (from 1) of the last byte read in the current file; 0 without a
// current file.
int LigneLue();
