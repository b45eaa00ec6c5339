#include "astro/fast_trig.h"

#include <immintrin.h>

#include <algorithm>

#include "astro/angles.h"

// Only the AVX2 functions below are compiled for AVX2, so the program still
// runs on any x86-64. FMA is not enabled: the series argument C*tau + B is
// rounded twice, exactly as the scalar path forms it.
#define NOVASTRA_AVX2 __attribute__((target("avx2")))

// glibc's vector math library: two (SSE2) or four (AVX2) lanes of sin or cos
// per call. The SSE2 forms run on every x86-64; the AVX2 forms are called only
// after the processor has been checked (and declared for AVX2, as clang
// requires of a function passing 256-bit vectors).
extern "C" {
__m128d _ZGVbN2v_cos(__m128d);
__m128d _ZGVbN2v_sin(__m128d);
NOVASTRA_AVX2 __m256d _ZGVdN4v_cos(__m256d);
NOVASTRA_AVX2 __m256d _ZGVdN4v_sin(__m256d);
}

namespace novastra {

namespace {

// ---- SSE2: two lanes ----

// The powers of tau used by the series.
// Given:  tau      Julian millennia from J2000.0
// Returns:         powers[k] = tau^k, k = 0..7, by repeated products
inline void Powers(double tau, double* powers) {
  powers[0] = 1;
  for (int k = 1; k < 8; ++k) powers[k] = powers[k - 1] * tau;
}

// The sum of the two lanes of a vector.
// Given:  acc   two doubles; Returns: acc[0] + acc[1]
double Reduce2(__m128d acc) { return _mm_cvtsd_f64(_mm_add_sd(acc, _mm_unpackhi_pd(acc, acc))); }

// One VSOP87 coordinate, the sum over the runs of A tau^k cos(B + C tau),
// two lanes at a time through glibc's SSE2 cosine. The same terms as the
// term-by-term sum, summed lane by lane.
// Given:  s     the coordinate's terms laid out by MakeSeriesLanes
//         tau   Julian millennia of TT (or UT) from J2000.0
// Returns:      radians (L, B) or AU (R), unreduced
// Source: VSOP87 as Meeus, Astronomical Algorithms 2nd ed., ch. 32 gives it;
//         glibc libmvec _ZGVbN2v_cos.
// Accuracy: equal to the plain sum up to rounding (libmvec's cosine within a
//           few units in the last place of the scalar one's).
double PowerSeries2(const SeriesLanes& s, double tau) {
  double powers[8];
  Powers(tau, powers);
  const __m128d tv = _mm_set1_pd(tau);
  __m128d acc = _mm_setzero_pd();
  for (std::size_t i = 0; i < s.A.size(); i += 2) {
    const __m128d x = _mm_add_pd(_mm_mul_pd(_mm_loadu_pd(&s.C[i]), tv), _mm_loadu_pd(&s.B[i]));
    const __m128d w = _mm_set1_pd(powers[s.power[i / 4]]);
    acc = _mm_add_pd(acc, _mm_mul_pd(_mm_mul_pd(_mm_loadu_pd(&s.A[i]), w), _ZGVbN2v_cos(x)));
  }
  return Reduce2(acc);
}

// Sine or cosine of n values, two at a time, the last one alone.
// Given:  x     radians; n of them
// Returns:      out[i] = Fn(x[i]); out may equal x
// Source: glibc libmvec (_ZGVbN2v_sin, _ZGVbN2v_cos).
template <__m128d (*Fn)(__m128d)>
void Batch2(const double* x, double* out, std::size_t n) {
  std::size_t i = 0;
  for (; i + 2 <= n; i += 2) _mm_storeu_pd(out + i, Fn(_mm_loadu_pd(x + i)));
  if (i < n) out[i] = _mm_cvtsd_f64(Fn(_mm_set_sd(x[i])));
}

// ---- AVX2: four lanes ----

// PowerSeries2 four lanes at a time, through glibc's AVX2 cosine; the
// cosines of a chunk first, then their weighted sum (the library's calls
// clobber every vector register).
// Given:  s     the coordinate's terms laid out by MakeSeriesLanes
//         tau   Julian millennia from J2000.0
// Returns:      radians (L, B) or AU (R), unreduced
// Source: VSOP87 (Meeus ch. 32); glibc libmvec _ZGVdN4v_cos.
// Accuracy: as PowerSeries2.
NOVASTRA_AVX2 double PowerSeries4(const SeriesLanes& s, double tau) {
  double powers[8];
  Powers(tau, powers);
  const __m256d tv = _mm256_set1_pd(tau);
  __m256d acc = _mm256_setzero_pd();
  // Cosines a chunk at a time, then their weighted sum: the vector library's
  // calls clobber every register, so the sum is kept out of that loop.
  constexpr std::size_t kChunk = 64;
  alignas(32) double cosines[kChunk];
  for (std::size_t start = 0; start < s.A.size(); start += kChunk) {
    const std::size_t end = std::min(start + kChunk, s.A.size());
    for (std::size_t i = start; i < end; i += 4) {
      const __m256d x =
          _mm256_add_pd(_mm256_mul_pd(_mm256_loadu_pd(&s.C[i]), tv), _mm256_loadu_pd(&s.B[i]));
      _mm256_store_pd(&cosines[i - start], _ZGVdN4v_cos(x));
    }
    for (std::size_t i = start; i < end; i += 4) {
      const __m256d w = _mm256_set1_pd(powers[s.power[i / 4]]);
      acc = _mm256_add_pd(acc, _mm256_mul_pd(_mm256_mul_pd(_mm256_loadu_pd(&s.A[i]), w),
                                             _mm256_load_pd(&cosines[i - start])));
    }
  }
  return Reduce2(_mm_add_pd(_mm256_castpd256_pd128(acc), _mm256_extractf128_pd(acc, 1)));
}

// Sine or cosine of n values, four at a time, the rest padded with zeros.
// Given:  x     radians; n of them
// Returns:      out[i] = Fn(x[i]); out may equal x
// Source: glibc libmvec (_ZGVdN4v_sin, _ZGVdN4v_cos).
template <__m256d (*Fn)(__m256d)>
NOVASTRA_AVX2 void Batch4(const double* x, double* out, std::size_t n) {
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) _mm256_storeu_pd(out + i, Fn(_mm256_loadu_pd(x + i)));
  if (i < n) {
    double v[4] = {};
    for (std::size_t k = 0; i + k < n; ++k) v[k] = x[i + k];
    _mm256_storeu_pd(v, Fn(_mm256_loadu_pd(v)));
    for (std::size_t k = 0; i + k < n; ++k) out[i + k] = v[k];
  }
}

constexpr TrigKernels kSse2{"sse2", PowerSeries2, Batch2<_ZGVbN2v_sin>, Batch2<_ZGVbN2v_cos>};
constexpr TrigKernels kAvx2{"avx2", PowerSeries4, Batch4<_ZGVdN4v_sin>, Batch4<_ZGVdN4v_cos>};

}  // namespace

// The two-lane kernels, which run on every x86-64.
// Returns: the SSE2 table of functions; no published source
const TrigKernels& Sse2Kernels() { return kSse2; }

// The four-lane kernels, when the processor has AVX2.
// Returns: the AVX2 table of functions, or nullptr
const TrigKernels* Avx2Kernels() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") ? &kAvx2 : nullptr;
}

// The widest kernels the processor runs, chosen once (AVX2, else SSE2).
// Returns: the table of functions, the same for the whole process
const TrigKernels& FastKernels() {
  static const TrigKernels* const chosen = Avx2Kernels() ? Avx2Kernels() : &kSse2;
  return *chosen;
}

// Sines and cosines of n angles in degrees, from the same radians SinDeg
// forms (the program's pi).
// Given:  degrees   n angles, degrees; n at most kMaxSinCosDegrees
//         fast      the vector kernels, or nullptr for SinDeg and CosDeg
// Returns:          sinOut[i], cosOut[i], -1..1
void SinCosDegrees(const double* degrees, std::size_t n, double* sinOut, double* cosOut,
                   const TrigKernels* fast) {
  if (fast == nullptr) {
    for (std::size_t i = 0; i < n; ++i) {
      sinOut[i] = SinDeg(degrees[i]);
      cosOut[i] = CosDeg(degrees[i]);
    }
    return;
  }
  double radians[kMaxSinCosDegrees];
  for (std::size_t i = 0; i < n; ++i) radians[i] = (kPi * degrees[i]) / 180.0;
  fast->sinBatch(radians, sinOut, n);
  fast->cosBatch(radians, cosOut, n);
}

}  // namespace novastra
