#pragma once
// Marks a pixel loop to be compiled twice on x86-64, once for the AVX2 registers and
// once for the baseline instruction set, the processor choosing at start-up. The
// loops stay plain C++: the compiler vectorises each copy at its own width.

#if defined(__x86_64__) && defined(__linux__) && (defined(__GNUC__) || defined(__clang__))
#define LUMAVEX_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define LUMAVEX_WIDE_VECTORS
#endif
