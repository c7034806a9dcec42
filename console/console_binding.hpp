// For tests that run the whole dialogue in process, many times over,
// through the very setup the program uses; the order logic never calls it.
#pragma once

// Puts the console in the state of a fresh start on `input_fd` and
// `output_fd`, as adopt_locale does on the standard streams, but leaves the
// locale as it is. What was still buffered is dropped, not written.
void bind_console(int input_fd, int output_fd);
