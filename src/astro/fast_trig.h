#pragma once
// Vectorised trigonometry for the fast evaluation path of the engine, through
// glibc's vector math library (libmvec), whose sines and cosines are within a
// few units in the last place of the scalar library's. The AVX2 variant is
// used when the processor has it; SSE2 is always there.
#include <cstddef>
#include <vector>

#include "astro/series.h"

namespace novastra {

struct TrigKernels {
  const char* name;
  // S0 + S1*tau + S2*tau^2 + ... of one coordinate, Sk the sum of A*cos(B + C*tau)
  // over series k, in one pass (tau^k folded into the amplitudes, summed
  // lane-wise, not in table order).
  double (*powerSeries)(const SeriesLanes& lanes, double tau);
  // out[i] = sin(x[i]) / cos(x[i]) for arguments in radians; out may equal x.
  void (*sinBatch)(const double* x, double* out, std::size_t n);
  void (*cosBatch)(const double* x, double* out, std::size_t n);
};

const TrigKernels& Sse2Kernels();
// Null when the processor lacks AVX2.
const TrigKernels* Avx2Kernels();
// The best kernels for this processor, chosen once.
const TrigKernels& FastKernels();

// Sines and cosines of n angles in degrees: SinDeg and CosDeg when fast is null,
// else the same radians through the kernels. n is at most kMaxSinCosDegrees.
inline constexpr std::size_t kMaxSinCosDegrees = 32;
void SinCosDegrees(const double* degrees, std::size_t n, double* sinOut, double* cosOut,
                   const TrigKernels* fast);

}  // namespace novastra
