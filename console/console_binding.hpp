// Test-only: rebinds the console to other file descriptors, so that a test
// can run the whole dialogue in process, many times over, on input and
// output of its own. Neither the order logic nor main uses this; the
// program's console is bound to standard input and output by adopt_locale.
#pragma once

// Puts the console in the state of a fresh start, reading `input_fd` and
// writing `output_fd`: nothing buffered, nothing read, no failure or end
// of input remembered. Output counts as a terminal's when `output_fd` is
// one. The locale is left as it is. Whatever was still buffered for the
// previous descriptors is dropped, not written.
void bind_console(int input_fd, int output_fd);
