// Binds the console to its descriptors. adopt_locale binds it to standard
// input and output; a test binds it to input and output of its own, so
// that it can run the whole dialogue in process, many times over, through
// the very setup the program uses. The order logic never calls this.
#pragma once

// Puts the console in the state of a fresh start, reading `input_fd` and
// writing `output_fd`: nothing buffered, nothing read, no failure or end
// of input remembered. When `output_fd` is a terminal, texts and clearings
// are prepared for it. The locale is left as it is. Whatever was still
// buffered for the previous descriptors is dropped, not written.
void bind_console(int input_fd, int output_fd);
