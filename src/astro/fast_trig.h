#pragma once
// Vectorised trigonometry for the fast evaluation path of the engine. The
// kernels reduce the argument by a two-part pi/2 (exact up to |x| < 1e6, where
// they fall back to the library) and evaluate short minimax polynomials, so a
// single cosine is within about one unit in the last place of the library's.
// The AVX2+FMA variant is used when the processor has it; SSE2 is always there.
#include <cstddef>

#include "astro/series.h"

namespace novastra {

struct TrigKernels {
  const char* name;
  // Sum of A*cos(B + C*tau) over n terms (summed lane-wise, not in table order).
  double (*seriesSum)(const SeriesTerm* terms, std::size_t n, double tau);
  // out[i] = sin(x[i]) / cos(x[i]) for arguments in radians; out may equal x.
  void (*sinBatch)(const double* x, double* out, std::size_t n);
  void (*cosBatch)(const double* x, double* out, std::size_t n);
};

const TrigKernels& Sse2Kernels();
// Null when the processor lacks AVX2 or FMA.
const TrigKernels* Avx2Kernels();
// The best kernels for this processor, chosen once.
const TrigKernels& FastKernels();

}  // namespace novastra
