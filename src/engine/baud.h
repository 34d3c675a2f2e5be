#pragma once

namespace ombrel {

// The printer's code for a line rate, sent with command 49 and command 129:
// 9600→0, 19200→1, 38400→2, 57600→3, 115200→4, 1200→5, 2400→6, 4800→7,
// 230400→8; any other rate → 0.
int baudIndex(int rate);

// The rate that a code stands for (inverse of baudIndex for codes 0 to 8);
// 9600 for any other code.
int rateOfBaudIndex(int index);

}  // namespace ombrel
