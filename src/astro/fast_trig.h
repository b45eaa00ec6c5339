#pragma once
// Vectorised trigonometry for the fast evaluation path of the engine. The
// kernels reduce the argument by a two-part pi/2 (exact up to |x| < 1e6, where
// they fall back to the library) and evaluate short minimax polynomials, so a
// single cosine is within about one unit in the last place of the library's.
// AVX-512 or AVX2+FMA variants are used when the processor has them; SSE2 is
// always there.
#include <cstddef>
#include <vector>

#include "astro/series.h"

namespace novastra {

struct TrigKernels {
  const char* name;
  // Sum of A*cos(B + C*tau) over n terms (summed lane-wise, not in table order).
  double (*seriesSum)(const SeriesTerm* terms, std::size_t n, double tau);
  // S0 + S1*tau + S2*tau^2 + ... over count series, Sk the sum of series k,
  // in one pass (tau^k folded into the amplitudes).
  double (*powerSeries)(const std::vector<SeriesTerm>* series, std::size_t count, double tau);
  // out[i] = sin(x[i]) / cos(x[i]) for arguments in radians; out may equal x.
  void (*sinBatch)(const double* x, double* out, std::size_t n);
  void (*cosBatch)(const double* x, double* out, std::size_t n);
};

const TrigKernels& Sse2Kernels();
// Null when the processor lacks AVX2 or FMA.
const TrigKernels* Avx2Kernels();
// Null when the processor lacks AVX-512 F and DQ.
const TrigKernels* Avx512Kernels();
// The best kernels for this processor, chosen once.
const TrigKernels& FastKernels();

// Sines and cosines of n angles in degrees: SinDeg and CosDeg when fast is null,
// else the same radians through the kernels. n is at most kMaxSinCosDegrees.
inline constexpr std::size_t kMaxSinCosDegrees = 32;
void SinCosDegrees(const double* degrees, std::size_t n, double* sinOut, double* cosOut,
                   const TrigKernels* fast);

}  // namespace novastra
